#!/usr/bin/env bash
# Draws the toolbar pictures and the application icon from vector drawing commands.
#
#   res/pictures/draw.sh            # rewrites every tb_*.bmp and app.ico beside this script
#   res/pictures/draw.sh PREVIEW    # ...and also a preview PNG (normal row above hot row, on white)
#
# Needs ImageMagick 6.9 or 7 (`magick` or `convert`). The output is the same on every run.
#
# Each shape is drawn four times larger than the result and scaled down with a box filter, which
# gives even antialiasing. A shape is a mask drawn in white with -draw (coordinates in the units of
# the final picture), painted with a flat colour or a two-point linear gradient, and laid over the
# shapes before it; a "cut" shape punches a transparent gap instead, so badges stay readable on the
# tinted background of a hot button.
#
# Toolbar pictures: 102x100, 32-bit BMP (BITMAPINFOHEADER, BI_RGB) with straight, not premultiplied,
# alpha, which LoadImageW(LR_CREATEDIBSECTION) keeps byte for byte. The hot set is the normal picture
# livelier (brighter, more saturated) over a soft glow, shapes in the same place.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
preview=${1:-}

if command -v magick >/dev/null 2>&1; then IM=(magick); else IM=(convert); fi

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

SS=4                       # supersampling factor
unit=1                     # final pixels per drawing unit
W=0 H=0                    # supersampled canvas
nlayer=0
layers=()

# begin WIDTH HEIGHT UNIT: starts a picture of WIDTHxHEIGHT pixels, drawn in units of UNIT pixels.
begin() {
  unit=$3
  W=$(($1 * SS)) H=$(($2 * SS))
  layers=()
}

# add PAINT [OPACITY] <<< MVG: adds one shape. PAINT is a colour, "x1,y1 c1 x2,y2 c2" for a linear
# gradient (points in drawing units) or "cut". The MVG draws the shape in white (the default fill).
add() {
  local paint=$1 opacity=${2:-1} mvg f s
  mvg=$(cat)
  nlayer=$((nlayer + 1))
  f=$tmp/layer$nlayer.png
  s=$(awk -v a="$unit" -v b="$SS" 'BEGIN { printf "%.4f", a * b }')
  local fillimg=()
  case $paint in
    cut) fillimg=(-size "${W}x$H" xc:black) ;;
    *' '*)
      local g
      g=$(awk -v s="$s" '{
        for (i = 1; i <= NF; i += 2) { split($i, p, ","); printf "%s%.2f,%.2f %s", (i > 1 ? " " : ""), p[1] * s, p[2] * s, $(i + 1) }
      }' <<<"$paint")
      fillimg=(-size "${W}x$H" xc:white -sparse-color Barycentric "$g") ;;
    *) fillimg=(-size "${W}x$H" "xc:$paint") ;;
  esac
  "${IM[@]}" "${fillimg[@]}" -alpha off \
    \( -size "${W}x$H" xc:black -fill white -stroke none -draw "affine $s 0 0 $s 0 0
$mvg" -alpha off \) \
    -compose CopyOpacity -composite -channel A -evaluate multiply "$opacity" +channel "$f"
  if [ "$paint" = cut ]; then layers+=("cut:$f"); else layers+=("over:$f"); fi
}

# finish OUT.png: stacks the shapes and scales the result down to its final size.
finish() {
  local args=(-size "${W}x$H" xc:none) l
  for l in "${layers[@]}"; do
    case $l in
      cut:*) args+=("${l#cut:}" -compose DstOut -composite) ;;
      over:*) args+=("${l#over:}" -compose Over -composite) ;;
    esac
  done
  "${IM[@]}" "${args[@]}" -filter Box -resize "$((100 / SS))%" -depth 8 "$1"
}

# --- Shapes ----------------------------------------------------------------------------------------

f() { awk "BEGIN { printf \"%.2f\", $1 }"; }

# bezier X0 Y0 X1 Y1 X2 Y2 X3 Y3: the points of a cubic curve, for an open polyline (this
# ImageMagick closes a stroked open path, and refuses a long polyline with round caps).
bezier() {
  awk -v c="$*" 'BEGIN {
    split(c, p, " ")
    for (i = 0; i <= 24; i++) {
      t = i / 24; u = 1 - t
      a = u * u * u; b = 3 * u * u * t; d = 3 * u * t * t; e = t * t * t
      printf "%.2f,%.2f ", a * p[1] + b * p[3] + d * p[5] + e * p[7], a * p[2] + b * p[4] + d * p[6] + e * p[8]
    }
  }'
}

# Palette
blue_hi='#5E9BF2' blue_lo='#1F56BC' blue_top='#A8CBFA'
grey_hi='#A9B4C2' grey_lo='#6C7889' grey_top='#D5DCE5'
slate_hi='#56677E' slate_lo='#35414F'
orange='#F58F2A' orange_lo='#E0731A'
green='#2BB36A' green_lo='#1E9255'
led_green='#46E08E' led_blue='#7DB8FF' slot='#8796AA'
globe_line='#D3E4FF'

# cylinder CX TOP WIDTH HEIGHT HI LO TOP_COLOUR [BANDS]: a database cylinder of stacked discs.
cylinder() {
  local cx=$1 top=$2 w=$3 h=$4 hi=$5 lo=$6 topc=$7 bands=${8:-2}
  local rx ry yt yb
  rx=$(f "$w / 2") ry=$(f "$w * 0.17")
  yt=$(f "$top + $ry") yb=$(f "$top + $h - $ry")
  add "$(f "$cx - $rx"),0 $hi $(f "$cx + $rx"),0 $lo" <<EOF
rectangle $(f "$cx - $rx"),$yt $(f "$cx + $rx"),$yb
ellipse $cx,$yt $rx,$ry 0,360
ellipse $cx,$yb $rx,$ry 0,360
EOF
  local k y
  for ((k = 1; k <= bands; k++)); do
    y=$(f "$yt + $k * ($yb - $yt) / ($bands + 1)")
    add cut <<EOF
fill none
stroke white
stroke-width $(f "$w * 0.045")
ellipse $cx,$y $rx,$ry 0,180
EOF
  done
  add "$cx,$(f "$yt - $ry") $topc $cx,$(f "$yt + $ry") $hi" <<EOF
ellipse $cx,$yt $(f "$rx - $w * 0.04"),$(f "$ry - $w * 0.035") 0,360
EOF
}

# rack X1 Y1 X2 Y2: a rack server of three units.
rack() {
  local x1=$1 y1=$2 x2=$3 y2=$4 gap=4 i uy1 uy2 uh yc
  uh=$(f "($y2 - $y1 - 2 * $gap) / 3")
  for i in 0 1 2; do
    uy1=$(f "$y1 + $i * ($uh + $gap)") uy2=$(f "$y1 + $i * ($uh + $gap) + $uh")
    yc=$(f "($uy1 + $uy2) / 2")
    add "0,$uy1 $slate_hi 0,$uy2 $slate_lo" <<<"roundrectangle $x1,$uy1 $x2,$uy2 5,5"
    add "$led_green" <<<"circle $(f "$x1 + 9"),$yc $(f "$x1 + 9 + 2.8"),$yc"
    add "$led_blue" <<<"circle $(f "$x1 + 18"),$yc $(f "$x1 + 18 + 2.8"),$yc"
    add "$slot" <<<"roundrectangle $(f "$x2 - 30"),$(f "$yc - 2.2") $(f "$x2 - 8"),$(f "$yc + 2.2") 2,2"
  done
}

# round_badge CX CY R HI LO: a coloured disc set off from what lies beneath by a transparent gap.
round_badge() {
  add cut <<<"circle $1,$2 $1,$(f "$2 + $3 + 4")"
  add "$(f "$1 - $3"),$(f "$2 - $3") $4 $(f "$1 + $3"),$(f "$2 + $3") $5" <<<"circle $1,$2 $1,$(f "$2 + $3")"
}

# gear CX CY R TEETH: an orange gear with a hole, set off by a transparent gap.
gear() {
  local cx=$1 cy=$2 r=$3 n=$4 pts
  pts=$(awk -v cx="$cx" -v cy="$cy" -v R="$r" -v n="$n" 'BEGIN {
    pi = atan2(0, -1); p = 2 * pi / n; ri = R * 0.74
    for (i = 0; i < n; i++) {
      a = i * p - pi / 2
      split((a - p * 0.30) " " (a - p * 0.17) " " (a + p * 0.17) " " (a + p * 0.30) " " (a + p * 0.5), t, " ")
      rr[1] = ri; rr[2] = R; rr[3] = R; rr[4] = ri; rr[5] = ri
      for (k = 1; k <= 5; k++) printf "%.2f,%.2f ", cx + rr[k] * cos(t[k]), cy + rr[k] * sin(t[k])
    }
  }')
  add cut <<EOF
stroke white
stroke-width 7
stroke-linejoin round
polygon $pts
EOF
  add "$(f "$cx - $r"),$(f "$cy - $r") $orange $(f "$cx + $r"),$(f "$cy + $r") $orange_lo" <<<"polygon $pts"
  add cut <<<"circle $cx,$cy $(f "$cx + $r * 0.3"),$cy"
}

# --- Toolbar pictures ------------------------------------------------------------------------------

# 1: installing the database server: a rack server and a download arrow.
pic_install() {
  rack 9 10 75 84
  round_badge 77 75 19 "$green" "$green_lo"
  add white <<EOF
rectangle 74.4,63 79.6,75
polygon 67.5,73 86.5,73 77,84
EOF
}

# 2: converting databases: an old grey cylinder turned into a new blue one.
pic_convert() {
  cylinder 23 42 34 50 "$grey_hi" "$grey_lo" "$grey_top"
  cylinder 76 34 42 60 "$blue_hi" "$blue_lo" "$blue_top"
  add "$orange" <<EOF
fill none
stroke white
stroke-width 5.2
stroke-linejoin round
polyline $(bezier 22 36 25 14 54 5 68 20)
EOF
  add "$orange" <<<"circle 22,36 24.6,36"
  add "$orange" <<<"polygon 75.1,27.1 72.2,14.4 62.4,24.2"
}

# 3: settings of the database server: a rack server and a gear.
pic_server_settings() {
  rack 9 10 75 84
  gear 77 75 20 8
}

# 4: settings of the databases: a cylinder and sliders.
pic_db_settings() {
  cylinder 42 8 62 84 "$blue_hi" "$blue_lo" "$blue_top"
  round_badge 77 74 20 "$orange" "$orange_lo"
  add white <<EOF
fill none
stroke white
stroke-width 2.6
stroke-linecap round
line 66,66.5 88,66.5
line 66,74 88,74
line 66,81.5 88,81.5
EOF
  add white <<EOF
circle 82,66.5 82,70.4
circle 71,74 71,77.9
circle 79,81.5 79,85.4
EOF
  add "$orange_lo" <<EOF
circle 82,66.5 82,68.2
circle 71,74 71,75.7
circle 79,81.5 79,83.2
EOF
}

# 5: maintenance of the databases: a cylinder and a shield with a check mark.
pic_maintenance() {
  cylinder 42 8 62 84 "$blue_hi" "$blue_lo" "$blue_top"
  local shield="path 'M 77,51 L 95,57.5 L 95,70 C 95,82 87,90.5 77,95 C 67,90.5 59,82 59,70 L 59,57.5 Z'"
  add cut <<EOF
stroke white
stroke-width 8
stroke-linejoin round
$shield
EOF
  add "60,52 $green 94,94 $green_lo" <<<"$shield"
  add white <<EOF
fill none
stroke white
stroke-width 4.4
stroke-linecap round
stroke-linejoin round
polyline 68.5,72.5 75,79 86,65.5
EOF
}

# 6: the download web page: a globe.
pic_web() {
  add "20,14 #72ADF8 84,88 $blue_lo" <<<"circle 51,50 51,8"
  add "$globe_line" <<EOF
fill none
stroke white
stroke-width 2.6
ellipse 51,50 17,42 0,360
line 51,8 51,92
line 9,50 93,50
line 14.6,29 87.4,29
line 14.6,71 87.4,71
EOF
  add "$blue_lo" <<EOF
fill none
stroke white
stroke-width 3
circle 51,50 51,9.5
EOF
  add white 0.45 <<<"path 'M 24,27 C 32,15 46,10 58,11 C 44,15 33,22 27,33 Z'"
}

names=(install convert server_settings db_settings maintenance web)
pics=(pic_install pic_convert pic_server_settings pic_db_settings pic_maintenance pic_web)

# write_bmp IN.png OUT.bmp: 32-bit BI_RGB bitmap keeping the alpha channel.
write_bmp() {
  "${IM[@]}" "$1" -alpha set -depth 8 -type TrueColorAlpha -define bmp3:alpha=true "BMP3:$2"
}

normals=() hots=()
for i in "${!names[@]}"; do
  n=$((i + 1))
  begin 102 100 1
  "${pics[$i]}"
  finish "$tmp/tb_$n.png"
  # Hot: livelier colours over a soft blue glow that follows the outline.
  "${IM[@]}" \( "$tmp/tb_$n.png" -alpha extract -blur 0x3.5 -level 0,55% \) \
    -background '#6AAEFF' -alpha shape -channel A -evaluate multiply 0.7 +channel \
    \( "$tmp/tb_$n.png" -modulate 115,150,100 \) -compose Over -composite "$tmp/tb_${n}_hot.png"
  write_bmp "$tmp/tb_$n.png" "$here/tb_${n}_${names[$i]}.bmp"
  write_bmp "$tmp/tb_${n}_hot.png" "$here/tb_${n}_${names[$i]}_hot.bmp"
  normals+=("$tmp/tb_$n.png") hots+=("$tmp/tb_${n}_hot.png")
done

# --- Application icon: a database cylinder with a gear --------------------------------------------

icon() {
  local size=$1
  begin "$size" "$size" "$(f "$size / 100")"
  if [ "$size" -le 24 ]; then
    cylinder 40 4 68 92 "$blue_hi" "$blue_lo" "$blue_top" 1
    gear 73 72 26 6
  else
    cylinder 40 4 68 92 "$blue_hi" "$blue_lo" "$blue_top" 2
    gear 74 73 24 8
  fi
  finish "$tmp/icon_$size.png"
}
for s in 256 48 32 24 16; do icon "$s"; done
"${IM[@]}" "$tmp"/icon_{256,48,32,24,16}.png -alpha set -type TrueColorAlpha "ICO:$here/app.ico"

if [ -n "$preview" ]; then
  "${IM[@]}" \( "${normals[@]}" +append \) \( "${hots[@]}" +append \) -append \
    -bordercolor white -border 8 -background white -alpha remove "$preview"
fi

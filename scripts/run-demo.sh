#!/usr/bin/env bash
# Builds the workbench and runs it under Wine on a demo machine (its own prefix, laid out by
# tests/fixtures/make-machine.sh, with the tool runner behind the Firebird tool stand-ins and the
# server folders' fbclient.dll, and a real Firebird 3 server on 127.0.0.1 whose port the server
# folders' firebird.conf names, so that the connection test's defaults reach it).
# Both server kits (made from the fixture files by tests/fixtures/make-kits.py) lie beside the program,
# so "A Firebird telepítése" installs them into C:\KELMORA.WIN\Firebird with real services of the
# instsvc stand-in. With a DISPLAY the program runs in the foreground until its window is closed. Without one it
# runs inside Xvfb, waits for the main window, saves a screenshot, prints the PNG's path, closes
# the program and cleans up.
set -euo pipefail
# Wine's fixed low addresses against the loader's randomised heap: see tests/harness/wine-run.sh.
[ -n "${FBWB_NO_ASLR:-}" ] || FBWB_NO_ASLR=1 exec setarch "$(uname -m)" -R bash "$0" "$@"
cd "$(dirname "$0")/.."

export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export LANG=hu_HU.UTF-8 LC_ALL=hu_HU.UTF-8
export WINEPREFIX="${FBWB_DEMO_PREFIX:-$HOME/.cache/fbwb/demo-prefix}"
build="${FBWB_BUILD_DIR:-build/windows}"
title='FireBird adtbázis-kiszolgáló és adatbázisok ellenőrzése:'

do_build=1
dialogs=0
kits=1
install=0
shot=""
dpi=96
while [ $# -gt 0 ]; do
  case "$1" in
    --no-build) do_build=0 ;;
    --shot) shot="$(realpath -m "$2")"; shift ;;
    --dpi) dpi="$2"; shift ;;
    --dialogs) dialogs=1 ;;
    --no-kits) kits=0 ;;
    --install) dialogs=1; install=1 ;;
    *) echo "run-demo.sh: unknown option $1" >&2; exit 2 ;;
  esac
  shift
done
case "$dpi" in ''|*[!0-9]*) echo "run-demo.sh: --dpi needs a number" >&2; exit 2 ;; esac

if [ "$do_build" = 1 ]; then
  # Only what the demo runs: the program, the tool stand-ins and the recorder (the tests are built
  # by scripts/test-all.sh).
  echo "== building the workbench and the demo machine's stand-ins"
  cmake --preset windows -B "$build" >/dev/null
  cmake --build "$build" --target FbWorkbench tool_standin recorder instsvc_standin service_standin fixture_kits \
    fbclient_bridge
fi

echo "== preparing the demo machine in $WINEPREFIX"
FBWB_WINE_GRAPHICS=x11 tests/fixtures/make-machine.sh "$WINEPREFIX" \
  --standin "$build/tests/fixtures/tool_standin.exe" --recorder "$build/tests/fixtures/recorder.exe" \
  --instsvc "$build/tests/fixtures/instsvc_standin.exe" --service "$build/tests/fixtures/service_standin.exe" \
  --fbclient "$build/tests/fixtures/fbclient.dll"
WINEPREFIX="$(cd "$WINEPREFIX" && pwd -P)"
fb_root="$WINEPREFIX/drive_c/fbwb-fixture/fb-server"
wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /t REG_SZ /d x11 /f </dev/null >/dev/null 2>&1
# Reports open in the host's browser through winebrowser (the prefix is made without mshtml, which
# would otherwise register the .htm type).
for type in .htm .html; do
  wine reg add "HKCR\\$type" /ve /t REG_SZ /d htmlfile /f </dev/null >/dev/null 2>&1
done
wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f </dev/null >/dev/null 2>&1
# The session booted by the machine builder has no display: start over with one.
wineserver -k 2>/dev/null || true
wineserver -w 2>/dev/null || true
cp "$build/src/FbWorkbench.exe" "$WINEPREFIX/drive_c/KELMORA.WIN/FbWorkbench.exe"
for kit in Firebird_2_5_5_64bit.zip Firebird_3_0_0_64bit.zip; do
  rm -f "$WINEPREFIX/drive_c/KELMORA.WIN/$kit"
  [ "$kits" = 1 ] && cp "$build/tests/fixtures/kits/$kit" "$WINEPREFIX/drive_c/KELMORA.WIN/$kit"
done

xvfb_pid=""
cleanup() {
  set +e
  python3 tests/fixtures/tool_runner.py stop --prefix "$WINEPREFIX" --watch-pid $$
  python3 tests/fixtures/fb_server.py stop --root "$fb_root"
  wineserver -k 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
  return 0
}
trap cleanup EXIT
trap 'exit 130' INT TERM
python3 tests/fixtures/tool_runner.py start --prefix "$WINEPREFIX" --watch-pid $$
python3 tests/fixtures/fb_server.py start --root "$fb_root" --watch-pid $$
fb_port="$(python3 tests/fixtures/fb_server.py port --root "$fb_root")"
# The dialog takes the port from the chosen server folder's firebird.conf (make-machine.sh puts the
# file back at the next run) and opens C:\KELMORA.WIN\<year>\conf.fdb by default.
for conf in "$WINEPREFIX/drive_c/KELMORA.WIN/Firebird"/Firebird_*/firebird.conf \
    "$WINEPREFIX/drive_c/Program Files/Firebird"/Firebird_*/firebird.conf; do
  [ -f "$conf" ] || continue
  sed -i -E "s/^#?[[:space:]]*RemoteServicePort[[:space:]]*=[[:space:]]*[0-9]*/RemoteServicePort = $fb_port/" "$conf"
done
year="$(date +%Y)"
cp -n "$WINEPREFIX/drive_c/fbwb-fixture/template.fdb" "$WINEPREFIX/drive_c/KELMORA.WIN/$year/conf.fdb"
echo "== Firebird server on 127.0.0.1:$fb_port (SYSDBA, qwdbadmin)"

program='C:\KELMORA.WIN\FbWorkbench.exe'
if [ -n "${DISPLAY:-}" ]; then
  echo "== running the workbench on $DISPLAY (close its window to end)"
  wine "$program" || true
  exit 0
fi

echo "== no DISPLAY: running the workbench in Xvfb"
display=99
while [ -e "/tmp/.X$display-lock" ] || [ -e "/tmp/.X11-unix/X$display" ]; do display=$((display + 1)); done
# The screen grows with the scaling, so that the whole window fits at 150 % too.
width=$((1100 * dpi / 96)); height=$((700 * dpi / 96))
Xvfb ":$display" -screen 0 "${width}x${height}x24" -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
export DISPLAY=":$display"
for _ in $(seq 100); do
  [ -e "/tmp/.X11-unix/X$display" ] && break
  kill -0 "$xvfb_pid" 2>/dev/null || { echo "run-demo.sh: Xvfb did not start" >&2; exit 1; }
  sleep 0.1
done

wine explorer /desktop=fbwb,"${width}x${height}" "$program" </dev/null >/dev/null 2>&1 &
if ! window="$(timeout 90 xdotool search --sync --name "^$title" | head -n 1)" || [ -z "$window" ]; then
  echo "run-demo.sh: the window \"$title\" did not appear within 90 s" >&2
  exit 1
fi
# Let the window finish painting before the picture is taken.
sleep 2
[ -n "$shot" ] || shot="$(realpath -m "$build")/demo/fbwb-demo-$(date +%Y%m%d_%H%M%S).png"
mkdir -p "$(dirname "$shot")"
import -window root "$shot"
echo "screenshot: $shot"

if [ "$dialogs" = 1 ]; then
  # Each task's dialog, opened with its access key as a keyboard user would, then cancelled
  # (the titles are regular expressions for xdotool).
  for entry in "alt+r|Adatbázisok karbantartása|maintenance" "alt+d|Adatbázis\\(ok\\) beállításai|settings" \
      "alt+b|Az adatbázis-kezelő beállításai|server-settings" "alt+k|Adatbázis konvertálása|convert" \
      "alt+c|Adatbázis-kapcsolat tesztelése|connection-test" \
      "alt+t|Firebird telepítő|installer"; do
    IFS='|' read -r keys dialog_title name <<<"$entry"
    xdotool windowactivate --sync "$window" >/dev/null 2>&1 || true
    sleep 1
    xdotool key "$keys"
    if ! timeout 30 xdotool search --sync --name "^$dialog_title" >/dev/null; then
      echo "run-demo.sh: the dialog \"$dialog_title\" did not appear within 30 s" >&2
      exit 1
    fi
    sleep 1
    dialog_shot="${shot%.png}-$name.png"
    import -window root "$dialog_shot"
    echo "screenshot: $dialog_shot"
    if [ "$name" = installer ] && [ "$install" = 1 ] && [ "$kits" = 1 ]; then
      # The default button installs both kits; the closing message box ends the run.
      xdotool key Return
      if ! timeout 120 xdotool search --sync --name '^FbWorkbench$' >/dev/null; then
        echo "run-demo.sh: the installation did not end within 120 s" >&2
        exit 1
      fi
      sleep 1
      import -window root "${shot%.png}-installed.png"
      echo "screenshot: ${shot%.png}-installed.png"
      xdotool key Return
      sleep 1
    fi
    xdotool key Escape
    for _ in $(seq 100); do
      xdotool search --name "^$dialog_title" >/dev/null 2>&1 || break
      sleep 0.1
    done
  done
fi

# A plain taskkill asks the program's windows to close (WM_CLOSE), as the user would.
wine taskkill /im FbWorkbench.exe </dev/null >/dev/null 2>&1 || true
for _ in $(seq 100); do
  xdotool search --name "^$title" >/dev/null 2>&1 || break
  sleep 0.1
done
exit 0

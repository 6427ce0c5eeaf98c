#!/usr/bin/env bash
# Benchmark: the kit unpacking (unpackInstallerZip) under Wine against Debian's native `unzip -o -q`
# of the same kit, each into a fresh folder, in interleaved rounds; prints the times, the medians and
# the ratio ours/unzip, and the portable reader's native figure (every entry inflated in memory).
# The kit (about 1,000 entries, about 30 MB: Firebird fixture files, the built programs, text and
# incompressible data, deflated by python's zipfile) is made once in build/bench-unzip/.
#   scripts/bench-unzip.sh [ROUNDS]     (7 by default)
set -euo pipefail
cd "$(dirname "$0")/.."
rounds=${1:-7}
build="${FBWB_BUILD_DIR:-build/windows}"
export WINEPREFIX="${FBWB_WINEPREFIX:-$HOME/.cache/fbwb/wineprefix}"
work=build/bench-unzip
mkdir -p "$work"

cmake --preset windows -B "$build" >/dev/null
cmake --build "$build" --target unzip_bench FbWorkbench >/dev/null

kit="$work/kit.zip"
if [[ ! -f $kit ]]; then
  python3 - "$kit" "$build" ../shared/fixtures <<'PY'
import os, random, sys, zipfile
kit, build, fixtures = sys.argv[1], sys.argv[2], sys.argv[3]
rnd = random.Random(1)
blobs = []
for root in (fixtures, build):
    for folder, _, files in os.walk(root):
        for name in files:
            if name.endswith((".exe", ".dll", ".conf", ".msg", ".txt", ".sql", ".fdb")):
                path = os.path.join(folder, name)
                if 0 < os.path.getsize(path) < 8 << 20:
                    blobs.append(open(path, "rb").read())
words = "adatbázis kiszolgáló telepítés mentés visszaállítás karbantartás firebird szolgáltatás".split()
with zipfile.ZipFile(kit, "w", zipfile.ZIP_DEFLATED) as z:
    for i in range(1000):
        kind = i % 4
        if kind == 0 and blobs:  # program and server files, cut to a realistic size
            blob = blobs[i // 4 % len(blobs)]
            data = blob[: rnd.randint(20000, 150000)]
        elif kind == 1:  # text
            data = " ".join(rnd.choice(words) for _ in range(rnd.randint(2000, 12000))).encode()
        elif kind == 2:  # already compressed
            data = rnd.randbytes(rnd.randint(10000, 60000))
        else:  # half and half
            data = rnd.randbytes(20000) + bytes(rnd.randint(10000, 40000))
        z.writestr("bin/%s/file%04d.%s" % ("abcdefgh"[i % 8], i, "dat txt bin mix".split()[kind]), data)
    z.writestr("doc/", b"")
PY
fi
entries=$(unzip -Z1 "$kit" | wc -l)
echo "kit: $kit, $(du -k "$kit" | cut -f1) KB, $entries entries, $(unzip -l "$kit" | tail -1 | awk '{print $1}') bytes unpacked"

native="$work/zip_inflate_bench"
g++ -O2 -std=c++20 -Isrc -o "$native" bench/zip_inflate_bench.cpp src/install/zip_reader.cpp src/core/text.cpp -lz
"$native" "$kit" 5

windows() { local p; p=$(realpath -m "$1"); echo "Z:${p//\//\\}"; }
ours=() theirs=()
for ((r = 1; r <= rounds; r++)); do
  rm -rf "$work/ours" "$work/unzip"
  out=$(tests/harness/wine-run.sh "$build/bench/unzip_bench.exe" "$(windows "$kit")" "$(windows "$work/ours")")
  ms=$(sed -n 's/^unpack_ms //p' <<<"$out")
  [[ -n $ms ]] || { echo "$out"; exit 1; }
  start=$(date +%s%N)
  unzip -o -q "$kit" -d "$work/unzip"
  end=$(date +%s%N)
  um=$(awk -v a="$start" -v b="$end" 'BEGIN { printf "%.1f", (b - a) / 1e6 }')
  echo "round $r: ours ${ms} ms, unzip ${um} ms"
  ours+=("$ms") theirs+=("$um")
done
diff -r "$work/ours" "$work/unzip" >/dev/null && echo "same files and contents as unzip"
median() { printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
mo=$(median "${ours[@]}") mu=$(median "${theirs[@]}")
awk -v o="$mo" -v u="$mu" 'BEGIN { printf "median: ours %.1f ms, unzip %.1f ms, ratio ours/unzip %.2f\n", o, u, o / u }'

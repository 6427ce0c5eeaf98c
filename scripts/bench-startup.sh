#!/usr/bin/env bash
# Benchmark: the workbench's start, from launch until its main window is shown and idle, against a bare
# program that shows one dialog; both in the demo machine's prefix, in a Wine virtual desktop on Xvfb,
# in interleaved rounds. Prints the medians, the steps each program marked and the ratio.
#   scripts/bench-startup.sh [ROUNDS [OTHER.exe...]]     (default 31 rounds)
# OTHER.exe: more builds of the workbench to compare in the same rounds (a build made before a change);
# each must set the idle event of platform/startup_marks.h.
set -euo pipefail
# Wine's fixed low addresses against the loader's randomised heap: see tests/harness/wine-run.sh.
[ -n "${FBWB_NO_ASLR:-}" ] || FBWB_NO_ASLR=1 exec setarch "$(uname -m)" -R bash "$0" "$@"
cd "$(dirname "$0")/.."
rounds="${1:-31}"
[ $# -gt 0 ] && shift
others=()
for other in "$@"; do others+=("$(realpath "$other")"); done
build="${FBWB_BUILD_DIR:-build/windows}"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export LANG=hu_HU.UTF-8 LC_ALL=hu_HU.UTF-8
export WINEPREFIX="${FBWB_DEMO_PREFIX:-$HOME/.cache/fbwb/demo-prefix}"

if [ "${FBWB_NO_BUILD:-0}" != 1 ]; then
  cmake --preset windows -B "$build" >/dev/null
  cmake --build "$build" --target FbWorkbench bare_dialog startup_bench tool_standin recorder >/dev/null
fi

# The demo machine, as scripts/run-demo.sh lays it out: the server folders that the workbench
# discovers at its start, x11 graphics at 100 %.
FBWB_WINE_GRAPHICS=x11 tests/fixtures/make-machine.sh "$WINEPREFIX" \
  --standin "$build/tests/fixtures/tool_standin.exe" --recorder "$build/tests/fixtures/recorder.exe" >/dev/null
WINEPREFIX="$(cd "$WINEPREFIX" && pwd -P)"
wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /t REG_SZ /d x11 /f </dev/null >/dev/null 2>&1
wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 96 /f </dev/null >/dev/null 2>&1
wineserver -k 2>/dev/null || true
wineserver -w 2>/dev/null || true
folder="$WINEPREFIX/drive_c/KELMORA.WIN"
cp "$build/src/FbWorkbench.exe" "$folder/FbWorkbench.exe"
cp "$build/bench/bare_dialog.exe" "$folder/bare_dialog.exe"
cp "$build/bench/startup_bench.exe" "$folder/startup_bench.exe"
other_paths=()
for i in "${!others[@]}"; do
  cp "${others[$i]}" "$folder/other$((i + 1))_$(basename "${others[$i]}")"
  other_paths+=("C:\\KELMORA.WIN\\other$((i + 1))_$(basename "${others[$i]}")")
done

xvfb_pid=""
cleanup() {
  set +e
  wineserver -k 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
  return 0
}
trap cleanup EXIT
trap 'exit 130' INT TERM
display=99
while [ -e "/tmp/.X$display-lock" ] || [ -e "/tmp/.X11-unix/X$display" ]; do display=$((display + 1)); done
Xvfb ":$display" -screen 0 1100x700x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
export DISPLAY=":$display"
for _ in $(seq 100); do
  [ -e "/tmp/.X11-unix/X$display" ] && break
  kill -0 "$xvfb_pid" 2>/dev/null || { echo "bench-startup.sh: Xvfb did not start" >&2; exit 1; }
  sleep 0.1
done

# A persistent server and a booted session first, so that no launch pays for them.
wineserver -p
wine cmd.exe /c exit </dev/null >/dev/null 2>&1
# The virtual desktop does not hand the launcher's exit code on: its output tells.
out="$(wine explorer /desktop=fbwb-bench,1100x700 'C:\KELMORA.WIN\startup_bench.exe' "$rounds" \
  'C:\KELMORA.WIN\bare_dialog.exe' 'C:\KELMORA.WIN\FbWorkbench.exe' "${other_paths[@]}" </dev/null)" || true
printf '%s\n' "$out"
if ! grep -q '^ratio ' <<<"$out" || grep -q '^failed launches' <<<"$out"; then
  echo "bench-startup.sh: not every launch reached an idle window" >&2
  exit 1
fi

#!/usr/bin/env bash
# ctest: the workbench on the demo machine under Xvfb at a display scaling; leaves the screenshot
# in BUILD/screenshots/ for a person to look at, and checks that one was taken of the whole screen.
# Usage: screenshot-test.sh BUILD_DIR DPI
set -euo pipefail
build="$1"
dpi="$2"
root="$(cd "$(dirname "$0")/../.." && pwd)"
shot="$build/screenshots/main-window-$((dpi * 100 / 96))pct.png"
rm -f "$shot"
# Always headless: a developer's own display must not get the window.
unset DISPLAY
FBWB_BUILD_DIR="$build" bash "$root/scripts/run-demo.sh" --no-build --dpi "$dpi" --shot "$shot"
size="$(identify -format '%wx%h' "$shot")"
expected="$((1100 * dpi / 96))x$((700 * dpi / 96))"
if [ "$size" != "$expected" ]; then
  echo "screenshot-test.sh: $shot is $size, expected $expected" >&2
  exit 1
fi

#!/usr/bin/env bash
# ctest: the workbench on the demo machine under Xvfb at a display scaling, with the database tasks'
# dialogs opened from the keyboard; leaves the screenshots in BUILD/screenshots/ for a person to look
# at, and checks that each was taken of the whole screen.
# Usage: screenshot-test.sh BUILD_DIR DPI
set -euo pipefail
build="$1"
dpi="$2"
root="$(cd "$(dirname "$0")/../.." && pwd)"
shot="$build/screenshots/main-window-$((dpi * 100 / 96))pct.png"
rm -f "${shot%.png}"*.png
# Always headless: a developer's own display must not get the window.
unset DISPLAY
FBWB_BUILD_DIR="$build" bash "$root/scripts/run-demo.sh" --no-build --dpi "$dpi" --dialogs --shot "$shot"
expected="$((1100 * dpi / 96))x$((700 * dpi / 96))"
for picture in "$shot" "${shot%.png}-maintenance.png" "${shot%.png}-settings.png" "${shot%.png}-server-settings.png" \
    "${shot%.png}-convert.png" "${shot%.png}-connection-test.png" "${shot%.png}-installer.png"; do
  size="$(identify -format '%wx%h' "$picture")"
  if [ "$size" != "$expected" ]; then
    echo "screenshot-test.sh: $picture is $size, expected $expected" >&2
    exit 1
  fi
done

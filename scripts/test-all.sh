#!/usr/bin/env bash
# Builds both flavours and runs every test: the portable core natively under ASan/UBSan, its fuzz
# targets briefly, then everything under Wine (unit, platform and end-to-end tests with Debian's Firebird tools).
set -euo pipefail
cd "$(dirname "$0")/.."

jobs=$(nproc)
echo "== host: portable core with AddressSanitizer and UndefinedBehaviorSanitizer"
cmake --preset host >/dev/null
cmake --build --preset host -j "$jobs"
ctest --preset host -j "$jobs" --output-on-failure

echo "== fuzz: the libFuzzer targets briefly (clang; scripts/fuzz.sh runs them long)"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "$jobs"
# A fault found here does not keep the Windows tests from running; it still fails the run.
status=0
ctest --preset fuzz -j "$jobs" --output-on-failure || status=$?

echo "== windows: mingw-w64 cross build, tests under Wine"
cmake --preset windows >/dev/null
cmake --build --preset windows -j "$jobs"
ctest --preset windows -j "$jobs" --output-on-failure || status=$?

# Leave no Wine session behind.
WINEPREFIX="${FBWB_WINEPREFIX:-$HOME/.cache/fbwb/wineprefix}" wineserver -k 2>/dev/null || true
exit "$status"

#!/usr/bin/env bash
# Benchmark: the database list's folder walk against a bare FindFirstFileW walk of the same tree, under
# Wine. Prints the times of interleaved rounds, their medians and the ratio program/bare.
#   scripts/bench-folder-walk.sh [FOLDERS [DATABASES [ROUNDS]]]     (default 10000 folders, 2000 databases, 7 rounds)
set -euo pipefail
cd "$(dirname "$0")/.."
build="${FBWB_BUILD_DIR:-build/windows}"
export WINEPREFIX="${FBWB_WINEPREFIX:-$HOME/.cache/fbwb/wineprefix}"

cmake --preset windows -B "$build" >/dev/null
cmake --build "$build" --target folder_walk_bench
tests/harness/wine-run.sh "$build/bench/folder_walk_bench.exe" "$@"

#!/usr/bin/env bash
# Benchmark: the header inspection, the settings run and the maintenance run of the workbench over real
# databases, against the same command lines run bare through cmd, under Wine with Debian's Firebird
# tools. Prints figures.
#   scripts/bench-db-tasks.sh [DATABASES [ROUNDS]]     (default 20 databases, 3 rounds)
set -euo pipefail
cd "$(dirname "$0")/.."
build="${FBWB_BUILD_DIR:-build/windows}"
export WINEPREFIX="${FBWB_WINEPREFIX:-$HOME/.cache/fbwb/wineprefix}"

cmake --preset windows -B "$build" >/dev/null
cmake --build "$build" --target db_tasks_bench tool_standin recorder
tests/fixtures/make-machine.sh "$WINEPREFIX" \
  --standin "$build/tests/fixtures/tool_standin.exe" --recorder "$build/tests/fixtures/recorder.exe" >/dev/null
python3 tests/fixtures/tool_runner.py start --prefix "$WINEPREFIX" --watch-pid $$
trap 'python3 tests/fixtures/tool_runner.py stop --prefix "$WINEPREFIX" --watch-pid $$' EXIT
# Keep only what the benchmark prints itself, should a batch's echo of its commands come through.
tests/harness/wine-run.sh "$build/bench/db_tasks_bench.exe" "$@" | grep -v -e '^\s*$' -e '^[A-Za-z]:\\.*>'


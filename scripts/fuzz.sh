#!/usr/bin/env bash
# Runs the fuzz targets long: scripts/fuzz.sh [SECONDS [TARGET...]] (300 s each, every target, by
# default), one after the other. Builds the fuzz preset first. Each target's corpus grows in
# build/fuzz/long/<target>/corpus from run to run (the seeds in tests/fuzz/corpus are only read);
# a failing input and the target's output are left beside it. Prints the executions reached per
# target; exits non-zero when a target found a fault.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-300}
shift || true
targets=("$@")
((${#targets[@]})) || targets=(batch_lines fbconf fdb_header text zip_reader)

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz

status=0
for t in "${targets[@]}"; do
  work=build/fuzz/long/$t
  mkdir -p "$work"
  FBWB_FUZZ_KEEP_CORPUS=1 bash tests/fuzz/run-target.sh "build/fuzz/tests/fuzz/${t}_fuzz" "tests/fuzz/corpus/$t" \
    "$work" -max_total_time="$seconds" -timeout=10 || status=1
done
exit "$status"

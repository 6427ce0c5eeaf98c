#!/usr/bin/env bash
# Runs one fuzz target: run-target.sh TARGET SEEDS WORK [libFuzzer options...]
# The new inputs go to WORK/corpus (the seeds folder is only read), a failing input to WORK/.
# WORK/corpus starts empty unless FBWB_FUZZ_KEEP_CORPUS=1 (the long runs build on earlier ones).
# Prints the executions reached; the exit status is the target's.
set -uo pipefail
target=$1 seeds=$2 work=$3
shift 3
[[ ${FBWB_FUZZ_KEEP_CORPUS:-0} == 1 ]] || rm -rf "$work/corpus"
mkdir -p "$work/corpus"
"$target" -print_final_stats=1 -artifact_prefix="$work/" "$@" "$work/corpus" "$seeds" >"$work/output.txt" 2>&1
status=$?
execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$work/output.txt" | tail -1)
speed=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$work/output.txt" | tail -1)
if ((status != 0)); then
  # The account of the failed property and the stack, without the progress lines.
  grep -v '^#[0-9]*\s*\(NEW\|REDUCE\|pulse\|INITED\|DONE\|RELOAD\)' "$work/output.txt" | tail -60
fi
echo "$(basename "$target"): ${execs:-?} executions (${speed:-?}/s), corpus $(ls "$work/corpus" | wc -l) new inputs, exit $status"
exit "$status"

#!/usr/bin/env bash
# The wrapper's own test: a program that Wine cannot start is named as such, with its exit code and
# Wine's message; a program that starts and fails is not; the programs a test program starts get
# Wine's silence back.
# Usage: wine-run-test.sh WRAPPER NEEDS_ABSENT_EXE EXITS_WITH_EXE
set -uo pipefail
wrapper="$1" unstartable="$2" exits_with="$3"
failures=0
expect() {  # description, then a command that must succeed
  local what="$1"; shift
  if "$@"; then echo "ok: $what"; else echo "FAILED: $what"; failures=$((failures + 1)); fi
}

output="$("$wrapper" "$unstartable" 2>&1)"; status=$?
echo "$output"
expect "Wine's exit code passes through" [ "$status" -eq 53 ]
expect "the wrapper says that Wine did not start it" \
  grep -q "^wine-run.sh: Wine did not start $unstartable: exit code 53 (0xC0000135: a DLL was not found)" <<<"$output"
expect "Wine's own message is shown" grep -q "err:module:import_dll Library absent.dll" <<<"$output"

output="$("$wrapper" "$exits_with" 3 2>&1)"; status=$?
echo "$output"
expect "a test's own exit code passes through" [ "$status" -eq 3 ]
expect "a program that started is not reported" bash -c '! grep -q "did not start" <<<"$1"' _ "$output"
expect "what it starts inherits WINEDEBUG=-all" grep -qx $'WINEDEBUG=-all\r\\?' <<<"$output"

echo "$((3 + 3 - failures)) passed, $failures failed"
[ "$failures" -eq 0 ]

#!/usr/bin/env bash
# The Wine wrapper's failure reports: a program that ends during a test, and one that never
# starts, which is started once more and written to the retries log.
#   wine_wrapper_test.sh <wine-run.sh> <ends_during_a_test.exe> <work folder>
set -uo pipefail
run=$1 program=$2 work=$3
rm -rf "$work" && mkdir -p "$work"
trap 'rm -rf "$work"' EXIT
export KV_WINE_RETRIES_LOG="$work/retries.log"
failures=0

check() { # description, command that must succeed
  if eval "$2"; then echo "ok: $1"; else echo "FAIL: $1"; failures=$((failures + 1)); fi
}

"$run" "$program" 7 >"$work/out" 2>"$work/err"
status=$?
check "the exit status passes through" '[ $status -eq 7 ]'
check "standard output passes through" 'grep -q "RUN      \] Harness.EndsHere" "$work/out"'
check "the report gives the status" 'grep -q "ended with exit status 7" "$work/err"'
check "the report names the test that was running" 'grep -q "it ended during Harness.EndsHere" "$work/err"'
check "the report shows standard error" 'grep -q "the program'"'"'s last words" "$work/err"'
check "a program that started is not run again" '[ ! -e "$KV_WINE_RETRIES_LOG" ] && [ $(grep -c "FirstTest (0 ms)" "$work/out") -eq 1 ]'

"$run" "$work/no-such-program.exe" >"$work/out" 2>"$work/err"
status=$?
check "a program that never started fails" '[ $status -ne 0 ]'
check "the report says it never started and why" 'grep -q "never started; running it once more" "$work/err" && grep -q "^wine: .*no-such-program.exe" "$work/err"'
check "the retry is logged once" '[ "$(grep -c "no-such-program.exe" "$KV_WINE_RETRIES_LOG")" -eq 1 ]'

"$run" "$program" 0 >"$work/out" 2>"$work/err"
check "a program that succeeds reports nothing" '[ $? -eq 0 ] && [ ! -s "$work/err" ]'
exit $((failures > 0))

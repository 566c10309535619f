#!/usr/bin/env bash
# Runs one test suite through ctest and prints one line for it: "NAME: N passed, M failed".
# The whole ctest output goes to BUILD_DIR/ctest.log; when something fails, the failures are shown.
# Usage: suite.sh NAME BUILD_DIR [ctest arguments...]
set -uo pipefail
name=$1 dir=$2; shift 2
log="$dir/ctest.log"
(cd "$dir" && ctest --output-on-failure "$@") >"$log" 2>&1
status=$?
total=$(sed -n 's/.*tests failed out of \([0-9]*\).*/\1/p' "$log" | tail -1)
failed=$(sed -n 's/.*, \([0-9]*\) tests failed out of.*/\1/p' "$log" | tail -1)
if [ "$status" -ne 0 ]; then
  grep -E -A40 '\*\*\*Failed|\*\*\*Timeout|\*\*\*Exception|Failed  ' "$log" | head -400
  [ -z "$total" ] && tail -40 "$log"
fi
# A test that cannot run on this machine passes and says why in a line "... test not run: ...".
grep -h 'test not run:' "$dir/Testing/Temporary/LastTest.log" 2>/dev/null | sort -u
echo "$name: $(( ${total:-0} - ${failed:-0} )) passed, ${failed:-0} failed"
exit "$status"

#!/usr/bin/env bash
# Runs one Windows program under Wine for ctest. The Wine server and the service programs it
# starts outlive the program and keep the output they were started with; were that the test's
# own pipe, ctest would count the test as running until they end, which under `ctest -j` is
# when the whole run ends. Wine's messages go to a file instead, shown when the program ends.
#
# A test program that has run threads can stop for good in the C++ runtime's unload under Wine
# (libstdc++ waiting on winpthreads' key lock; see docs/windows.md), before its buffered output is
# written. So a test program writes its report to a file instead, closed once its last case has
# run and shown when the program ends. One whose report says every case passed and that is
# still not gone after the grace below is ended, and says so, rather than holding the run until
# its time limit.
log=$(mktemp)
report=$(mktemp)
trap 'rm -f "$log" "$report"' EXIT
if [[ "$(basename "$1")" == Test*.exe ]]; then
  set -- "$@" -o "Z:$report,txt"
fi
grace_halves=60 # half seconds
wine "$@" >"$log" 2>&1 </dev/null &
pid=$!
waited=0
while kill -0 "$pid" 2>/dev/null; do
  if grep -q '^\*\*\*\*\*\*\*\*\* Finished testing of' "$report"; then
    waited=$((waited + 1))
    if [ "$waited" -ge "$grace_halves" ] &&
      grep -qE '^Totals: [0-9]+ passed, 0 failed' "$report"; then
      kill "$pid" 2>/dev/null
      wait "$pid" 2>/dev/null
      cat "$log" "$report"
      echo "wine-run: every case passed, but the program hung in its exit under Wine; ended it"
      exit 0
    fi
  fi
  sleep 0.5
done
code=0
wait "$pid" || code=$?
cat "$log" "$report"
exit "$code"

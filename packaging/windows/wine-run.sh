#!/usr/bin/env bash
# Runs one Windows program under Wine for ctest. The Wine server and the service programs it
# starts outlive the program and keep the output they were started with; were that the test's
# own pipe, ctest would count the test as running until they end, which under `ctest -j` is
# when the whole run ends. Wine's messages go to a file instead, shown when the program ends.
log=$(mktemp)
trap 'rm -f "$log"' EXIT
code=0
wine "$@" >"$log" 2>&1 </dev/null || code=$?
cat "$log"
exit "$code"

#!/usr/bin/env bash
# The virtual X server of with_xvfb.sh takes every client, even one that
# connects as another leaves: run under with_xvfb.sh, clients connect and
# leave in a loop (as the tests' screenshots do) while 200 others connect.
set -uo pipefail
[ -n "${DISPLAY:-}" ] || { echo "with_xvfb_test.sh: run it under tests/with_xvfb.sh" >&2; exit 2; }
(while :; do xdpyinfo >/dev/null 2>&1; done) &
churn=$!
trap 'kill "$churn" 2>/dev/null; wait "$churn" 2>/dev/null' EXIT
refused=0
for _ in $(seq 200); do xdpyinfo >/dev/null 2>&1 || refused=$((refused + 1)); done
if [ "$refused" -gt 0 ]; then
  echo "FAIL: $refused of 200 clients found no display on $DISPLAY"
  exit 1
fi
echo "200 clients reached $DISPLAY while others came and went"

#!/usr/bin/env bash
# Runs a command under a private virtual X server of the programs' window
# size (or XVFB_SCREEN), with Mesa's software renderer:  with_xvfb.sh COMMAND [ARGS...]
# The server never resets: an X server resets when its last client leaves,
# and drops a client that is connecting at that moment, so a program
# starting while a screenshot ends would find no display.
set -uo pipefail
dir=$(mktemp -d)
Xvfb -displayfd 3 -screen 0 "${XVFB_SCREEN:-1024x768x24}" -nolisten tcp -noreset 3>"$dir/display" 2>"$dir/xvfb.log" &
server=$!
trap 'kill "$server" 2>/dev/null; wait "$server" 2>/dev/null; rm -rf "$dir"' EXIT
for _ in $(seq 200); do
  [ -s "$dir/display" ] && break
  kill -0 "$server" 2>/dev/null || { cat "$dir/xvfb.log" >&2; exit 1; }
  sleep 0.05
done
[ -s "$dir/display" ] || { echo "with_xvfb: Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$(head -n1 "$dir/display")"
export LIBGL_ALWAYS_SOFTWARE=1
"$@"

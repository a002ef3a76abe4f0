#!/usr/bin/env bash
# One program of the soak test (scripts/soak.sh), on the display that
# tests/with_xvfb.sh opened.
set -uo pipefail
source "$(dirname "$0")/lib/arguments.sh"

usage() {
  cat <<'USAGE'
Usage: scripts/soak_one.sh BINARY SECONDS

Runs BINARY for SECONDS under random mouse input on the current display
($DISPLAY) and checks that it stays alive, keeps its memory flat and ends
on SIGTERM. scripts/soak.sh runs it for each program.
  BINARY   a built program, e.g. build/programs/grains_a
  SECONDS  how long it runs

Environment:
  DISPLAY  the X display to run on (required)

Example: tests/with_xvfb.sh scripts/soak_one.sh build/programs/grains_a 30
USAGE
}

if wants_help "$@"; then usage; exit 0; fi
[ $# -eq 2 ] || refuse "needs BINARY and SECONDS"
binary="$1"
seconds="$2"
[ -x "$binary" ] && [ -f "$binary" ] || refuse "'$binary' is not a program"
require_positive_integer SECONDS "$seconds"
[ -n "${DISPLAY:-}" ] || refuse "no display: run it under tests/with_xvfb.sh"
name="${binary##*/}"
log=$(mktemp)
"$binary" >"$log" 2>&1 &
pid=$!
trap 'kill -9 "$pid" 2>/dev/null; rm -f "$log"' EXIT
sleep 2

rss_kb() { awk '/^VmRSS:/ {print $2}' "/proc/$pid/status" 2>/dev/null; }
# Random input: moves anywhere on the screen, presses and releases of the
# three buttons, and drags that run past the window's right and bottom edges.
act() {
  local x=$((RANDOM % 1280)) y=$((RANDOM % 1024)) button=$((RANDOM % 3 + 1))
  case $((RANDOM % 4)) in
    0) xdotool mousemove "$x" "$y" ;;
    1) xdotool mousedown "$button" ;;
    2) xdotool mouseup "$button" ;;
    3) xdotool mousemove "$x" "$y" mousedown "$button" mousemove $((x + 200)) $((y + 150)) \
         mousemove 1279 1023 mousemove 0 0 mouseup "$button" ;;
  esac
}

start=$(date +%s)
warm_end=$((start + seconds / 2))
actions=0 baseline="" peak=0
while [ $(($(date +%s) - start)) -lt "$seconds" ]; do
  for _ in 1 2 3 4 5 6 7 8 9 10; do act; actions=$((actions + 1)); done
  kill -0 "$pid" 2>/dev/null || { echo "$name: ended during the soak"; tail -5 "$log"; exit 1; }
  rss=$(rss_kb)
  if [ "$(date +%s)" -ge "$warm_end" ]; then
    [ -n "$baseline" ] || baseline=$rss
    [ "$rss" -gt "$peak" ] && peak=$rss
  fi
done
for b in 1 2 3; do xdotool mouseup "$b" 2>/dev/null; done

growth=$((peak - baseline))
allowed=$((baseline / 20 > 8192 ? baseline / 20 : 8192))
stop_start=$(date +%s%N)
kill -TERM "$pid"
for _ in $(seq 300); do kill -0 "$pid" 2>/dev/null || break; sleep 0.01; done
if kill -0 "$pid" 2>/dev/null; then echo "$name: still running 3 s after SIGTERM"; exit 1; fi
stop_ms=$((($(date +%s%N) - stop_start) / 1000000))
printf '%s: alive for %ss under %d input actions (%d lines printed); resident memory %d KiB after warm-up, peak %d KiB (+%d KiB, allowed %d); ended %d ms after SIGTERM\n' \
  "$name" "$seconds" "$actions" "$(wc -l <"$log")" "$baseline" "$peak" "$growth" "$allowed" "$stop_ms"
[ "$growth" -le "$allowed" ] || { echo "$name: resident memory grew"; exit 1; }

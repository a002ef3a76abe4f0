#!/usr/bin/env bash
# Sets everything up and runs one program (grains_a unless named):
#   scripts/run.sh [PROGRAM]        or  PROGRAM=grains_d scripts/run.sh
# PROGRAM: grains_a, grains_b, grains_c, grains_d or engine_showcase.
# Without a display, the program runs for a few seconds in a virtual X
# server and a screenshot of its window is saved; its path is printed.
set -euo pipefail
cd "$(dirname "$0")/.."
program="${1:-${PROGRAM:-grains_a}}"
scripts/setup.sh build
binary="build/programs/$program"
[ -x "$binary" ] || { echo "run.sh: no program named $program" >&2; exit 1; }

if [ -n "${DISPLAY:-}" ]; then
  exec "$binary"
fi

seconds="${SECONDS_TO_RUN:-4}"
shot="$PWD/build/$program-screenshot.png"
tests/with_xvfb.sh bash -c '
  "$1" & program=$!
  sleep "$2"
  import -window root "$3"
  kill -TERM "$program"; wait "$program" 2>/dev/null || true
' run "$binary" "$seconds" "$shot"
echo "No display: ran $program for ${seconds}s in a virtual X server. Screenshot: $shot"

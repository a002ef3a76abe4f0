#!/usr/bin/env bash
# Sets everything up and runs one program. Without a display it runs the
# program for a few seconds in a virtual X server and saves a screenshot.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/lib/arguments.sh

usage() {
  cat <<'EOF'
Usage: scripts/run.sh [PROGRAM]

Installs what the project needs, builds PROGRAM (only it and what it
needs) into build/ and runs it.
  PROGRAM   grains_a (default), grains_b, grains_c, grains_d or
            engine_showcase

Environment:
  PROGRAM         the program, when no argument names it
  DISPLAY         when set, the program opens its window there and runs
                  until it is stopped (Ctrl+C)
  SECONDS_TO_RUN  without a display: how long the program runs in a
                  virtual X server before its screenshot is taken
                  (default 4)

Example: scripts/run.sh grains_c
         SECONDS_TO_RUN=10 scripts/run.sh grains_d
EOF
}

if wants_help "$@"; then usage; exit 0; fi
[ $# -le 1 ] || refuse "unexpected argument '$2'"
program="${1:-${PROGRAM:-grains_a}}"
require_window_program "$program"
seconds="${SECONDS_TO_RUN:-4}"
[ -n "${DISPLAY:-}" ] || require_positive_number SECONDS_TO_RUN "$seconds"

scripts/setup.sh build --target "$program"
binary="build/programs/$program"

if [ -n "${DISPLAY:-}" ]; then
  exec "$binary"
fi

shot="$PWD/build/$program-screenshot.png"
rm -f "$shot"
# The program must still be running when its screenshot is taken.
tests/with_xvfb.sh bash -c '
  "$1" & program=$!
  sleep "$2"
  kill -0 "$program" 2>/dev/null || { wait "$program"; echo "run.sh: $1 ended early (status $?)" >&2; exit 1; }
  import -window root "$3"
  kill -TERM "$program"; wait "$program" 2>/dev/null || true
' run "$binary" "$seconds" "$shot"
# Every program shows something within a few seconds: a black screenshot
# means it showed nothing.
brightest=$(convert "$shot" -format '%[max]' info:)
[ "$brightest" != 0 ] || { echo "run.sh: $program showed nothing: its screenshot $shot is black" >&2; exit 1; }
echo "No display: ran $program for ${seconds}s in a virtual X server. Screenshot: $shot"

#!/usr/bin/env bash
# Soak test: each program runs in a virtual X server under random real mouse
# input from xdotool (every button, drags across and beyond the window's
# edges) for a given time. The process must stay alive, its resident memory
# must stay flat after the first half of the run (within 5 % or 8 MiB, room
# for the caches of the GL driver), and SIGTERM must end it.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/lib/arguments.sh

usage() {
  cat <<'USAGE'
Usage: scripts/soak.sh [SECONDS_PER_PROGRAM] [PROGRAM...]

Builds everything into build/ and soaks each program under random mouse
input in a virtual X server: it must stay alive, keep its memory flat and
end on SIGTERM.
  SECONDS_PER_PROGRAM  how long each program runs (default 30)
  PROGRAM              grains_a, grains_b, grains_c, grains_d or
                       engine_showcase (default: all five)

Environment: none.

Example: scripts/soak.sh 60 grains_c engine_showcase
USAGE
}

if wants_help "$@"; then usage; exit 0; fi
seconds="${1:-30}"
require_positive_integer SECONDS_PER_PROGRAM "$seconds"
shift || true
programs=("$@")
[ "${#programs[@]}" -gt 0 ] || programs=("${WINDOW_PROGRAMS[@]}")
for program in "${programs[@]}"; do require_window_program "$program"; done
scripts/setup.sh build >/dev/null

# The screen is larger than the 1024x768 window so that drags leave it.
export XVFB_SCREEN=1280x1024x24
failed=0
for program in "${programs[@]}"; do
  tests/with_xvfb.sh scripts/soak_one.sh "build/programs/$program" "$seconds" || failed=1
done
exit "$failed"

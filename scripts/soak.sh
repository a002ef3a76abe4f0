#!/usr/bin/env bash
# Soak test: each program runs in a virtual X server under random real mouse
# input from xdotool (every button, drags across and beyond the window's
# edges) for a given time. The process must stay alive, its resident memory
# must stay flat after the first half of the run (within 5 % or 8 MiB, room
# for the caches of the GL driver), and SIGTERM must end it.
#   scripts/soak.sh [SECONDS_PER_PROGRAM] [PROGRAM...]   (default 30, all)
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-30}"
shift || true
scripts/setup.sh build >/dev/null
programs=("$@")
[ "${#programs[@]}" -gt 0 ] || programs=(grains_a grains_b grains_c grains_d engine_showcase)

# The screen is larger than the 1024x768 window so that drags leave it.
export XVFB_SCREEN=1280x1024x24
failed=0
for program in "${programs[@]}"; do
  [ -x "build/programs/$program" ] || continue
  tests/with_xvfb.sh scripts/soak_one.sh "build/programs/$program" "$seconds" || failed=1
done
exit "$failed"

#!/usr/bin/env bash
# The README's pictures: each grain program in motion, as an animated GIF
# made by grains_sim from a committed event script, and a still screenshot
# of engine_showcase.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/lib/arguments.sh

usage() {
  cat <<'EOF'
Usage: scripts/pictures.sh [--check]

Makes docs/pictures/PROGRAM.gif for each grain program from
docs/pictures/PROGRAM.events with grains_sim, and
docs/pictures/engine_showcase.png, a screenshot of the showcase in a
virtual X server. Builds what it needs into build/.
  --check  make the GIFs in a temporary folder and compare them with the
           committed ones (no screenshot); exits 1 if any differs

Environment:
  GRAINS_SIM  the grains_sim to run (default build/programs/grains_sim)

Example: scripts/pictures.sh
EOF
}

if wants_help "$@"; then usage; exit 0; fi
check=$(optional_flag --check "$@") || exit 2

# Frames of each run, and one picture every K frames: each GIF stays under
# 2 MB.
declare -A FRAMES=([grains_a]=1200 [grains_b]=3000 [grains_c]=1200 [grains_d]=1200)
declare -A EVERY=([grains_a]=8 [grains_b]=20 [grains_c]=10 [grains_d]=8)

sim=$(grains_sim_path)
[ "$check" -eq 1 ] || scripts/setup.sh build --target engine_showcase >/dev/null
pictures=docs/pictures
out="$pictures"
if [ "$check" -eq 1 ]; then
  out=$(mktemp -d)
  trap 'rm -rf "$out"' EXIT
fi

for program in "${GRAIN_PROGRAMS[@]}"; do
  "$sim" "$program" --events "$pictures/$program.events" --frames "${FRAMES[$program]}" \
    --gif "$out/$program.gif" --gif-every "${EVERY[$program]}" >/dev/null
done

if [ "$check" -eq 1 ]; then
  differ=0
  for program in "${GRAIN_PROGRAMS[@]}"; do
    cmp -s "$out/$program.gif" "$pictures/$program.gif" ||
      { echo "pictures.sh: $pictures/$program.gif is not what $pictures/$program.events makes"; differ=1; }
  done
  [ "$differ" -eq 0 ] && echo "the README's GIFs are what their event scripts make"
  exit "$differ"
fi

# The showcase after a few seconds, with its panel, labels and cord.
tests/with_xvfb.sh bash -c '
  build/programs/engine_showcase >/dev/null & showcase=$!
  sleep 3
  import -window root "$1"
  kill -TERM "$showcase"; wait "$showcase" 2>/dev/null || true
' pictures "$pictures/engine_showcase.png"
ls -l "$pictures"/*.gif "$pictures"/engine_showcase.png

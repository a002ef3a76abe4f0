#!/usr/bin/env bash
# Sets everything up, runs every benchmark and prints one table (markdown).
# Simulation step: grains_sim --bench, spawn and scan with nothing drawn, at a
# typical load (1000 frames after 1000 untimed frames without input) and at
# full load (every simulated cell refilled with a moving grain before each
# of 300 frames); the median of five runs, as timings on a shared machine
# wander. Whole frame: frame_bench in a real window under Xvfb, by the
# per-point path and the frame upload path.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/lib/arguments.sh

usage() {
  cat <<'USAGE'
Usage: scripts/bench.sh [SECONDS_PER_FRAME_CASE]

Builds everything into build/, runs the simulation and frame benchmarks of
every program and prints one markdown table.
  SECONDS_PER_FRAME_CASE  how long each whole-frame case runs (default 2;
                          decimals allowed)

Environment: none.

Example: scripts/bench.sh 2
USAGE
}

if wants_help "$@"; then usage; exit 0; fi
[ $# -le 1 ] || refuse "unexpected argument '$2'"
seconds_per_case="${1:-2}"
require_positive_number SECONDS_PER_FRAME_CASE "$seconds_per_case"
scripts/setup.sh build >/dev/null
sim=build/programs/grains_sim
cells() { case "$1" in grains_d) echo 25921 ;; *) echo 103041 ;; esac; }
ms_per_frame() { sed -n 's/^frames=\([0-9]*\) seconds=\([0-9.]*\).*/\2 \1/p' | awk '{printf "%.3f\n", $1 * 1000 / $2}'; }
median_of_5() { for _ in 1 2 3 4 5; do "$@" | ms_per_frame; done | sort -n | sed -n 3p; }

frames=$(mktemp)
trap 'rm -f "$frames"' EXIT
tests/with_xvfb.sh build/benchmarks/frame_bench "$seconds_per_case" >"$frames"
frame_ms() { awk -v p="$1" -v l="$2" -v d="$3" '$1 == "frame" && $2 == p && $3 == l && $4 == d {print $5}' "$frames"; }

echo "| program | step, typical (ms) | step, full (ms) | step, full (ns/cell) | frame, typical, points (ms) | frame, typical, upload (ms) | frame, full, points (ms) | frame, full, upload (ms) | full-load speed-up |"
echo "|---|---|---|---|---|---|---|---|---|"
for program in $(awk '$1 == "frame" {print $2}' "$frames" | uniq); do
  typical=$(median_of_5 "$sim" "$program" --warmup 1000 --frames 1000 --bench)
  full=$(median_of_5 "$sim" "$program" --full --frames 300 --bench)
  per_cell=$(awk -v ms="$full" -v n="$(cells "$program")" 'BEGIN {printf "%.1f", ms * 1e6 / n}')
  full_points=$(frame_ms "$program" full points)
  full_upload=$(frame_ms "$program" full upload)
  speedup=$(awk -v a="$full_points" -v b="$full_upload" 'BEGIN {printf "%.1fx", a / b}')
  echo "| $program | $typical | $full | $per_cell | $(frame_ms "$program" typical points) | $(frame_ms "$program" typical upload) | $full_points | $full_upload | $speedup |"
done

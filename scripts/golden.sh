#!/usr/bin/env bash
# The golden runs: what each grain program computes, as the SHA-256 digests
# of grains_sim's --dump (the whole grid) and --png (the last frame) after
# fixed runs, one line per run in tests/golden/digests.txt. They are the
# programs' contract: a change that alters one changes what users see.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/lib/arguments.sh

usage() {
  cat <<'EOF'
Usage: scripts/golden.sh [--update]

Runs every golden run of tests/golden/digests.txt and compares its digests:
  (no argument)  check; prints each run that changed and exits 1 if any did
  --update       rewrite the digests, printing each one that changed; only
                 for a change of behaviour that an issue asks for
Runs (per program): "input" 1500 frames of tests/golden/PROGRAM.events,
"quiet" 3000 frames without input, "full" 40 frames with every simulated
cell full (--full).

Environment:
  GRAINS_SIM  the grains_sim to run (default build/programs/grains_sim,
              built first)

Example: scripts/golden.sh
EOF
}

if wants_help "$@"; then usage; exit 0; fi
update=$(optional_flag --update "$@") || exit 2

sim=$(grains_sim_path)
digests=tests/golden/digests.txt
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The grains_sim arguments of a run.
run_arguments() {
  case "$2" in
    input) echo "--events tests/golden/$1.events" ;;
    quiet) echo "" ;;
    full) echo "--full" ;;
    *) echo "golden.sh: unknown run '$2' in $digests" >&2; exit 2 ;;
  esac
}

changed=0
runs=0
while IFS= read -r line; do
  case "$line" in "" | "#"*) echo "$line" >>"$work/new"; continue ;; esac
  read -r program run frames dump_digest png_digest <<<"$line"
  # shellcheck disable=SC2046
  "$sim" "$program" $(run_arguments "$program" "$run") --frames "$frames" \
    --dump "$work/dump" --png "$work/png" >/dev/null
  dump_now=$(sha256sum "$work/dump" | cut -d' ' -f1)
  png_now=$(sha256sum "$work/png" | cut -d' ' -f1)
  runs=$((runs + 1))
  what=""
  [ "$dump_now" = "$dump_digest" ] || what="dump"
  [ "$png_now" = "$png_digest" ] || what="${what:+$what and }picture"
  if [ -n "$what" ]; then
    changed=$((changed + 1))
    echo "changed: $program $run ($frames frames): $what"
  fi
  printf '%-8s %-5s %4s %s %s\n' "$program" "$run" "$frames" "$dump_now" "$png_now" >>"$work/new"
done <"$digests"

if [ "$update" -eq 1 ]; then
  cp "$work/new" "$digests"
  echo "$runs golden runs, $changed rewritten in $digests"
  exit 0
fi
if [ "$changed" -gt 0 ]; then
  echo "$changed of $runs golden runs changed: what the programs compute is not what it was."
  exit 1
fi
echo "$runs golden runs unchanged"

#!/usr/bin/env bash
# Builds the libFuzzer harnesses with clang, AddressSanitizer and
# UndefinedBehaviorSanitizer, replays the kept regression inputs, then
# fuzzes each reader for a while from its seed corpus. A finding stops the
# script; its input is written to build-fuzz/findings/.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/lib/arguments.sh

usage() {
  cat <<'USAGE'
Usage: scripts/fuzz.sh [SECONDS_PER_READER]

Installs clang, builds the fuzz harnesses into build-fuzz/, replays the kept
regression inputs of fuzz/regressions/ and fuzzes every reader (catalogue,
layout, font list, listing, events) from its seed corpus in fuzz/corpus/.
  SECONDS_PER_READER  how long each reader is fuzzed (default 60)

Environment: none.

Example: scripts/fuzz.sh 60
USAGE
}

if wants_help "$@"; then usage; exit 0; fi
[ $# -le 1 ] || refuse "unexpected argument '$2'"
seconds="${1:-60}"
require_positive_integer SECONDS_PER_READER "$seconds"
scripts/setup.sh build >/dev/null  # the project's own packages
missing=()
for p in clang libclang-rt-14-dev; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ "${#missing[@]}" -gt 0 ]; then
  sudo=""; [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

build=build-fuzz
cmake -S . -B "$build" -DGRAINS_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build "$build" -j"$(nproc)" >/dev/null
mkdir -p "$build/findings"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export ASAN_OPTIONS="detect_leaks=1"

for harness in "$build"/fuzz/fuzz_*; do
  reader=${harness##*/fuzz_}
  if [ -d "fuzz/regressions/$reader" ]; then
    "$harness" -runs=1 fuzz/regressions/"$reader"/* 2>"$build/findings/$reader-regressions.log" \
      || { echo "$reader: a kept regression input fails again"; tail -30 "$build/findings/$reader-regressions.log"; exit 1; }
  fi
  corpus="$build/corpus/$reader"
  mkdir -p "$corpus"
  start=$(date +%s)
  if ! "$harness" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=4096 \
      -artifact_prefix="$build/findings/$reader-" "$corpus" "fuzz/corpus/$reader" \
      2>"$build/findings/$reader.log"; then
    echo "$reader: finding after $(( $(date +%s) - start ))s"
    tail -40 "$build/findings/$reader.log"
    exit 1
  fi
  runs=$(grep -oE 'Done [0-9]+ runs' "$build/findings/$reader.log" | grep -oE '[0-9]+' || echo "?")
  echo "$reader: $runs inputs in ${seconds}s, no finding"
done

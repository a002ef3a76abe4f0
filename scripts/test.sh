#!/usr/bin/env bash
# Sets everything up and runs the whole test suite.
#   scripts/test.sh              normal build in build/
#   scripts/test.sh --sanitize   AddressSanitizer + UndefinedBehaviorSanitizer build in build-sanitize/
set -euo pipefail
cd "$(dirname "$0")/.."

if [ "${1:-}" = "--sanitize" ]; then
  build_dir=build-sanitize
  scripts/setup.sh "$build_dir" -DGRAINS_SANITIZE=ON
  export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0"
  export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0"
  export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
else
  build_dir=build
  scripts/setup.sh "$build_dir"
fi
cd "$build_dir"
ctest --output-on-failure -j2

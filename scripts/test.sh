#!/usr/bin/env bash
# Sets everything up and runs the whole test suite.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/lib/arguments.sh

usage() {
  cat <<'EOF'
Usage: scripts/test.sh [--sanitize]

Installs what the project needs, builds everything and runs every test
(ctest). The tests' temporary files go to a folder of their own, which must
be empty when they end.
  (no argument)  normal build in build/
  --sanitize     AddressSanitizer and UndefinedBehaviorSanitizer build in
                 build-sanitize/

Environment: none.

Example: scripts/test.sh
EOF
}

if wants_help "$@"; then usage; exit 0; fi
sanitize=$(optional_flag --sanitize "$@") || exit 2
build_dir=build
settings=()
if [ "$sanitize" -eq 1 ]; then
  build_dir=build-sanitize
  settings=(-DGRAINS_SANITIZE=ON)
fi

scripts/setup.sh "$build_dir" "${settings[@]}"
if [ "$build_dir" = build-sanitize ]; then
  export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0"
  export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0"
  export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
fi

TMPDIR=$(mktemp -d)
export TMPDIR
status=0
(cd "$build_dir" && ctest --output-on-failure -j2) || status=$?
leftovers=$(find "$TMPDIR" -mindepth 1 -maxdepth 1 | head -5)
rm -rf "$TMPDIR"
if [ -n "$leftovers" ]; then
  echo "test.sh: the tests left files in their temporary folder:" >&2
  echo "$leftovers" >&2
  [ "$status" -ne 0 ] || status=1
fi
exit "$status"

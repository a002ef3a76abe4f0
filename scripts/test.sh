#!/usr/bin/env bash
# Sets everything up and runs the whole test suite, or the quick loop.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/lib/arguments.sh

usage() {
  cat <<'EOF'
Usage: scripts/test.sh [--quick | --sanitize]

Installs what the project needs, builds it, checks the C++ formatting
(clang-format, as .clang-format says) and runs the tests (ctest). The
tests' temporary files go to a folder of their own, which must be empty
when they end.
  (no argument)  every test, the browser's too (scripts/web.sh installs and
                 builds what they need): what CI runs; build in build/
  --quick        the loop to run before each commit: builds what changed in
                 build/ and runs the unit tests and the golden runs (ctest
                 labels unit and golden)
  --sanitize     every test, built with AddressSanitizer and
                 UndefinedBehaviorSanitizer in build-sanitize/

Environment: none.

Example: scripts/test.sh --quick
EOF
}

if wants_help "$@"; then usage; exit 0; fi
[ $# -le 1 ] || refuse "unexpected argument '$2'"
mode="${1:-}"
case "$mode" in
  "" | --quick | --sanitize) ;;
  *) refuse "unexpected argument '$1'" ;;
esac
build_dir=build
settings=()
selection=()
case "$mode" in
  --quick) selection=(-L '^(unit|golden)$') ;;
  --sanitize)
    build_dir=build-sanitize
    settings=(-DGRAINS_SANITIZE=ON) ;;
esac

scripts/setup.sh "$build_dir" "${settings[@]}"
status=0
mapfile -t sources < <(git ls-files '*.cpp' '*.h')
if ! clang-format --dry-run --Werror "${sources[@]}"; then
  echo "test.sh: C++ files differ from .clang-format's style: run clang-format -i on them" >&2
  status=1
fi
if [ "$mode" != --quick ]; then
  # Without the browser packages (web.sh: 77) the browser tests are skipped;
  # a browser build that fails is a failure.
  web_status=0
  scripts/web.sh || web_status=$?
  [ "$web_status" -eq 0 ] || [ "$web_status" -eq 77 ] || status=1
fi
if [ "$build_dir" = build-sanitize ]; then
  export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0"
  export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0"
  export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
fi

TMPDIR=$(mktemp -d)
export TMPDIR
(cd "$build_dir" && ctest --output-on-failure -j2 "${selection[@]}") || status=$?
leftovers=$(find "$TMPDIR" -mindepth 1 -maxdepth 1 | head -5)
rm -rf "$TMPDIR"
if [ -n "$leftovers" ]; then
  echo "test.sh: the tests left files in their temporary folder:" >&2
  echo "$leftovers" >&2
  [ "$status" -ne 0 ] || status=1
fi
exit "$status"

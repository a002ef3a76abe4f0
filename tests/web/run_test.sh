#!/usr/bin/env bash
# Runs one of the pages' tests with node, from the project's folder:
#   tests/web/run_test.sh [--no-pages] TEST.js [ARGUMENTS...]
# The test is given build-web (the pages) and the arguments. When node, the
# tests' npm packages, chromium or the built pages are missing, it says
# what is missing and exits 77 (skipped): it installs nothing, which is the
# job of scripts/web.sh. Pages built here are brought up to date first.
# --no-pages: the test needs node alone.
set -uo pipefail
cd "$(dirname "$0")/../.."

skip() {
  echo "$1: the test is skipped (scripts/web.sh installs and builds what the pages' tests need)"
  exit 77
}

needs_pages=1
if [ "${1:-}" = --no-pages ]; then needs_pages=0; shift; fi
test_script="tests/web/$1"
shift
command -v node >/dev/null || skip "no node"
if [ "$needs_pages" = 1 ]; then
  [ -d tests/web/node_modules/puppeteer-core ] || skip "no npm packages in tests/web/node_modules"
  [ -x "${CHROMIUM:-/usr/bin/chromium}" ] || skip "no chromium at ${CHROMIUM:-/usr/bin/chromium}"
  if [ -f build-web/CMakeCache.txt ] && command -v emcc >/dev/null; then
    # Emscripten's script optimiser needs Debian's acorn.
    NODE_PATH="${NODE_PATH:+$NODE_PATH:}/usr/share/nodejs" cmake --build build-web -j2 >/dev/null ||
      { echo "the pages in build-web/ do not build" >&2; exit 1; }
  fi
  for file in index.html page.js page.css grains_a.html grains_b.html grains_c.html grains_d.html; do
    [ -f "build-web/$file" ] || skip "no build-web/$file"
  done
fi
exec node "$test_script" build-web "$@"

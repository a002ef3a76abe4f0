#!/usr/bin/env bash
# Runs a browser test from the source folder:  tests/web/web_test.sh COMMAND [ARGS...]
# First it checks that what the browser tests need is there: Debian's
# chromium, Node.js, the npm packages of tests/web/ and the windowed
# programs' pages built in build-web/ (GRAINS_WEB_PAGES names another
# folder, for this script's own test). When one is missing it says so and exits 77, which
# ctest counts as skipped: scripts/web.sh installs and builds them, and
# scripts/test.sh runs it first. The test itself runs under
# tests/no_installs.sh. ctest: grains_web_test() in tests/CMakeLists.txt.
set -uo pipefail
cd "$(dirname "$0")/../.."
source scripts/lib/arguments.sh
pages=${GRAINS_WEB_PAGES:-build-web}

skip() {
  echo "web_test.sh: skipped: $1 (scripts/web.sh installs and builds what the browser tests need)" >&2
  exit 77
}

command -v chromium >/dev/null || skip "no chromium"
command -v node >/dev/null || skip "no Node.js"
[ -d tests/web/node_modules/puppeteer-core ] || skip "no npm packages in tests/web/node_modules"
for program in "${WINDOW_PROGRAMS[@]}" "${EXAMPLES[@]/#/grains_example_}" bank_report; do
  for file in "$program.html" "$program.js" "$program.wasm" "$program.data"; do
    [ -f "$pages/$file" ] || skip "no $pages/$file"
  done
done
exec tests/no_installs.sh "$@"

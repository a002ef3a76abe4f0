#!/usr/bin/env bash
# tests/no_installs.sh fails a test that calls an installer, whatever the
# test's own status, and passes every other status on; tests/web/web_test.sh
# skips (77) a browser test whose pages are missing, without installing.
set -uo pipefail
cd "$(dirname "$0")/.."

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# expect STATUS "MESSAGE PART" COMMAND...: the status, and standard error
# holding the message part ("" for none at all).
expect() {
  local status="$1" message="$2" err actual
  shift 2
  err=$("$@" 2>&1 >/dev/null)
  actual=$?
  [ "$actual" -eq "$status" ] || fail "$*: status $actual, not $status ($err)"
  if [ -z "$message" ]; then
    [ -z "$err" ] || fail "$*: said '$err'"
  else
    [[ "$err" == *"$message"* ]] || fail "$*: '$err' does not say '$message'"
  fi
}

for call in "apt-get install -y chromium" "sudo apt-get update" "npm ci" "pip install x"; do
  expect 1 "the test ran '$call'" tests/no_installs.sh sh -c "$call; exit 0"
  expect 1 "the test ran '$call'" tests/no_installs.sh sh -c "$call || exit 77"
done
expect 0 "" tests/no_installs.sh true
expect 3 "" tests/no_installs.sh sh -c "exit 3"
expect 77 "" tests/no_installs.sh sh -c "exit 77"
expect 0 "" tests/no_installs.sh sh -c 'command -v cmake >/dev/null'  # other tools stay within reach

# Missing pages: skipped with a message, and nothing installed.
pages=$(mktemp -d)
trap 'rm -rf "$pages"' EXIT
expect 77 "skipped: no $pages/grains_a.html" env GRAINS_WEB_PAGES="$pages" tests/no_installs.sh tests/web/web_test.sh true
# With the pages there, the test runs under no_installs.sh: an install fails.
for program in grains_a grains_b grains_c grains_d; do
  touch "$pages/$program".{html,js,wasm,data}
done
# Every windowed program's page: the showcase's and the examples' too, and
# the tests' own page.
expect 77 "skipped: no $pages/engine_showcase.html" env GRAINS_WEB_PAGES="$pages" tests/web/web_test.sh true
for program in engine_showcase grains_example_{sprite_window,font_text,panel_widgets,patch_cord} bank_report; do
  touch "$pages/$program".{html,js,wasm,data}
done
if command -v chromium >/dev/null && command -v node >/dev/null && [ -d tests/web/node_modules/puppeteer-core ]; then
  expect 0 "" env GRAINS_WEB_PAGES="$pages" tests/web/web_test.sh true
  expect 1 "the test ran 'npm ci'" env GRAINS_WEB_PAGES="$pages" tests/web/web_test.sh sh -c "npm ci || exit 77"
else
  expect 77 "skipped: no" env GRAINS_WEB_PAGES="$pages" tests/web/web_test.sh true
fi

if [ "$failures" -gt 0 ]; then
  echo "$failures failures"
  exit 1
fi
echo "no_installs.sh and web_test.sh install nothing and skip what they cannot run"

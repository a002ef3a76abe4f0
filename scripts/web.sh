#!/usr/bin/env bash
# The four grain programs for the browser: builds them with Emscripten into
# build-web/ (one page a program and an index page), with the engine's text
# page for tests, and serves, checks or times the pages.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/lib/arguments.sh
source scripts/lib/browser_freetype.sh

usage() {
  cat <<'USAGE'
Usage: scripts/web.sh [--serve [PORT] | --check | --bench]

Installs what the browser build needs (Debian's emscripten, chromium,
dpkg-dev and fonts-dejavu-core, Node.js, and the tests' npm packages in
tests/web/), builds FreeType for the browser from Debian's source package
once (into build-web/freetype/, kept for later builds), then builds the
four grain programs into build-web/: PROGRAM.html for each, index.html,
and text_line.html, a test page of the engine's text.
  --serve [PORT]  then serves build-web/ on 127.0.0.1 (PORT, default 8000)
                  and prints the address; Ctrl+C stops it
  --check         then steps every grain page in headless Chromium under
                  the scripted input of tests/web/PROGRAM.events and
                  compares it with grains_sim, and compares the text page
                  with text_line_desktop: exits 1 at any difference (beyond
                  the text's stated bound), 77 when the browser packages or
                  FreeType's source package cannot be had
  --bench         then prints each page's frames a second at a typical and a
                  full load

Environment:
  GRAINS_SIM        for --check, the desktop grains_sim to compare with
                    (default build/programs/grains_sim, built first when
                    missing)
  GRAINS_TEXT_LINE  for --check, the desktop text_line_desktop to compare
                    with (default build/tests/text_line_desktop, built first
                    when missing)

Example: scripts/web.sh --serve
USAGE
}

if wants_help "$@"; then usage; exit 0; fi
action="${1:-}"
port=8000
case "$action" in
  "" | --check | --bench) [ $# -le 1 ] || refuse "unexpected argument '$2'" ;;
  --serve)
    [ $# -le 2 ] || refuse "unexpected argument '$3'"
    if [ $# -eq 2 ]; then
      require_positive_integer PORT "$2"
      [ "$2" -le 65535 ] || refuse "PORT must be at most 65535, not '$2'"
      port="$2"
    fi ;;
  *) refuse "unexpected argument '$action'" ;;
esac

# Says why what the build needs cannot be had; the build or --check is then
# skipped (status 77) rather than failed.
cannot_install() {
  echo "web.sh: cannot get what the browser build needs ($1); the browser build is skipped" >&2
  case "$action" in "" | --check) exit 77 ;; esac
  exit 1
}

# Installs the Debian packages that are missing.
install_browser_packages() {
  local missing=() p
  for p in emscripten chromium dpkg-dev fonts-dejavu-core; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  command -v node >/dev/null && command -v npm >/dev/null || missing+=(nodejs npm)
  [ "${#missing[@]}" -gt 0 ] || return 0
  echo "Installing: ${missing[*]}"
  local sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get update -qq && DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends \
    "${missing[@]}" || cannot_install "apt-get failed"
}

# text_line_path: GRAINS_TEXT_LINE, or else build/tests/text_line_desktop,
# built (it alone) first.
text_line_path() {
  if [ -n "${GRAINS_TEXT_LINE:-}" ]; then
    echo "$GRAINS_TEXT_LINE"
    return
  fi
  scripts/setup.sh build --target text_line_desktop >/dev/null
  echo build/tests/text_line_desktop
}

install_browser_packages >/dev/null
[ -d tests/web/node_modules ] || npm ci --prefix tests/web --no-audit --no-fund >/dev/null ||
  cannot_install "npm ci failed"
# Emscripten's script optimiser needs Debian's acorn, which a Node.js that is
# not Debian's does not look for.
export NODE_PATH="${NODE_PATH:+$NODE_PATH:}/usr/share/nodejs"
if ! freetype_kept build-web/freetype; then
  # A build that fails fails; sources that cannot be fetched are missing.
  browser_freetype build-web/freetype || {
    [ $? -eq 3 ] && cannot_install "Debian's freetype source package cannot be fetched"
    exit 1
  }
fi
log=$(mktemp)
trap 'rm -f "$log"' EXIT
emcmake cmake -S web -B build-web -DCMAKE_BUILD_TYPE=Release -DGRAINS_WEB_FREETYPE="$PWD/build-web/freetype" >"$log" 2>&1 ||
  { cat "$log" >&2; exit 1; }
cmake --build build-web -j"$(nproc)" >/dev/null
echo "Built the pages in build-web/: index.html, grains_a.html to grains_d.html and text_line.html"

case "$action" in
  --serve) exec node tests/web/serve.js build-web "$port" ;;
  --bench) node tests/web/bench.js build-web "${GRAIN_PROGRAMS[@]}" ;;
  --check)
    sim=$(grains_sim_path)
    text_line=$(text_line_path)
    status=0
    tests/web/web_test.sh node tests/web/compare_with_desktop.js build-web "$sim" 300 "${GRAIN_PROGRAMS[@]}" || status=$?
    tests/web/web_test.sh node tests/web/compare_text_line.js build-web "$text_line" || status=$?
    exit "$status" ;;
esac

#!/usr/bin/env bash
# The browser build: the engine, the grain programs, engine_showcase and the
# examples, built with Emscripten from the project's own CMake build into
# build-web/ (one page a program and an index page), and served, checked or
# timed.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/lib/arguments.sh
source scripts/lib/browser_libraries.sh

usage() {
  cat <<'USAGE'
Usage: scripts/web.sh [--serve [PORT] | --check | --bench]

Installs what the browser build needs (Debian's emscripten, chromium,
dpkg-dev and fonts-dejavu-core, Node.js, and the tests' npm packages in
tests/web/), builds FreeType, zlib and libpng for the browser from
Debian's source packages once (into build-web/debian/, kept for later
builds), then configures the project with emcmake into build-web/ and
builds it: PROGRAM.html for each windowed program (grains_a to grains_d,
engine_showcase, and grains_example_NAME for each example) and index.html.
  --serve [PORT]  then serves build-web/ on 127.0.0.1 (PORT, default 8000)
                  and prints the address; Ctrl+C stops it
  --check         then steps every grain page in headless Chromium under
                  the scripted input of tests/web/PROGRAM.events and
                  compares it with grains_sim, compares the showcase's and
                  the examples' pages with their desktop windows under the
                  same input, and every picture of the image bank in a
                  page and in a window: exits 1 at any difference (beyond
                  the stated bounds), 77 when the browser packages or the
                  libraries' source packages cannot be had
  --bench         then prints each grain page's frames a second at a
                  typical and a full load, and the showcase page's frame
                  time

Environment:
  GRAINS_SIM        for --check, the desktop grains_sim to compare with
                    (default build/programs/grains_sim, built first when
                    missing)
  GRAINS_DESKTOP    for --check, the desktop build whose engine_showcase,
                    examples and bank_report the pages are compared with
                    (default build, whose programs are built first)

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

# desktop_build: GRAINS_DESKTOP, or else build/ with the showcase, the
# examples and the tests' bank_report built (them alone) first.
desktop_build() {
  if [ -n "${GRAINS_DESKTOP:-}" ]; then
    echo "$GRAINS_DESKTOP"
    return
  fi
  local targets=(--target engine_showcase --target bank_report) example
  for example in "${EXAMPLES[@]}"; do targets+=(--target "grains_example_$example"); done
  scripts/setup.sh build "${targets[@]}" >/dev/null
  echo build
}

install_browser_packages >/dev/null
[ -d tests/web/node_modules ] || npm ci --prefix tests/web --no-audit --no-fund >/dev/null ||
  cannot_install "npm ci failed"
# Emscripten's script optimiser needs Debian's acorn, which a Node.js that is
# not Debian's does not look for.
export NODE_PATH="${NODE_PATH:+$NODE_PATH:}/usr/share/nodejs"
# A build must fail when it fails; sources that cannot be fetched are missing.
browser_libraries build-web/debian || {
  [ $? -eq 3 ] && cannot_install "Debian's source packages of the browser's libraries cannot be fetched"
  exit 1
}
# A build folder configured from another source folder (web/, before the
# browser became a platform of the one build) is configured afresh.
if [ -f build-web/CMakeCache.txt ] && ! grep -qx "CMAKE_HOME_DIRECTORY:INTERNAL=$PWD" build-web/CMakeCache.txt; then
  rm -rf build-web/CMakeCache.txt build-web/CMakeFiles
fi
log=$(mktemp)
trap 'rm -f "$log"' EXIT
emcmake cmake -S . -B build-web -DCMAKE_BUILD_TYPE=Release -DGRAINS_WEB_LIBRARIES="$PWD/build-web/debian" >"$log" 2>&1 ||
  { cat "$log" >&2; exit 1; }
cmake --build build-web -j"$(nproc)" >"$log" 2>&1 || { cat "$log" >&2; exit 1; }
echo "Built the pages in build-web/: index.html and a page for each windowed program"

case "$action" in
  --serve) exec node tests/web/serve.js build-web "$port" ;;
  --bench)
    node tests/web/bench.js build-web "${GRAIN_PROGRAMS[@]}"
    node tests/web/showcase_bench.js build-web ;;
  --check)
    sim=$(grains_sim_path)
    desktop=$(desktop_build)
    status=0
    tests/web/web_test.sh node tests/web/compare_with_desktop.js build-web "$sim" 300 "${GRAIN_PROGRAMS[@]}" || status=$?
    tests/web/web_test.sh node tests/web/compare_windows.js build-web "$desktop" || status=$?
    tests/web/web_test.sh node tests/web/compare_pictures.js build-web "$desktop/tests/bank_report" || status=$?
    exit "$status" ;;
esac

#!/usr/bin/env bash
# The scripts' argument handling: every script answers --help at once, and
# refuses bad arguments with one line and a non-zero status before it
# installs or builds anything. Stand-ins for the commands that install,
# configure, build or start servers record any call, which fails the test.
set -uo pipefail
cd "$(dirname "$0")/.."

stand_ins=$(mktemp -d)
trap 'rm -rf "$stand_ins"' EXIT
for command in apt-get sudo dpkg-query cmake emcmake npm make Xvfb clang import; do
  printf '#!/bin/sh\necho "%s $*" >>"%s/called"\nexit 1\n' "$command" "$stand_ins" >"$stand_ins/$command"
  chmod +x "$stand_ins/$command"
done
export PATH="$stand_ins:$PATH"
unset DISPLAY PROGRAM SECONDS_TO_RUN

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
nothing_called() {
  if [ -s "$stand_ins/called" ]; then
    fail "$1 called: $(head -1 "$stand_ins/called")"
    rm -f "$stand_ins/called"
  fi
}

for script in scripts/*.sh; do
  out=$(timeout 10 "$script" --help 2>&1)
  status=$?
  [ "$status" -eq 0 ] || fail "$script --help: status $status"
  [[ "$out" == Usage:* ]] || fail "$script --help does not start with its usage: ${out:0:60}"
  [[ "$out" == *Example:* ]] || fail "$script --help gives no example"
  [[ "$out" == *Environment:* ]] || fail "$script --help names no environment"
  nothing_called "$script --help"
done

# refused "DESCRIPTION" COMMAND...: a non-zero status and one line on
# standard error naming the script, without installing or building.
refused() {
  local description="$1" err status
  shift
  err=$(timeout 10 "$@" 2>&1 >/dev/null)
  status=$?
  [ "$status" -ne 0 ] || fail "$description: status 0"
  [ "$status" -ne 124 ] || fail "$description: still running after 10 s"
  [ "$(printf '%s\n' "$err" | wc -l)" -eq 1 ] || fail "$description: not one line: $err"
  [[ "$err" == *.sh:* ]] || fail "$description: the message does not name the script: $err"
  nothing_called "$description"
}

refused "run.sh with an unknown program" scripts/run.sh nosuch
refused "run.sh with the headless runner" scripts/run.sh grains_sim
refused "run.sh with two programs" scripts/run.sh grains_a grains_b
refused "run.sh with PROGRAM unknown" env PROGRAM=grains_x scripts/run.sh
refused "run.sh with a word for seconds" env SECONDS_TO_RUN=abc scripts/run.sh grains_a
refused "run.sh with no seconds" env SECONDS_TO_RUN=0 scripts/run.sh grains_a
refused "run.sh with negative seconds" env SECONDS_TO_RUN=-2 scripts/run.sh
refused "soak.sh with an unknown program" scripts/soak.sh 3 grains_x
refused "soak.sh with zero seconds" scripts/soak.sh 0
refused "soak.sh with a word for seconds" scripts/soak.sh abc grains_a
refused "soak_one.sh without arguments" scripts/soak_one.sh
refused "soak_one.sh with a missing binary" scripts/soak_one.sh build/nothing/here 3
refused "bench.sh with zero seconds" scripts/bench.sh 0
refused "bench.sh with two arguments" scripts/bench.sh 1 2
refused "fuzz.sh with a fraction" scripts/fuzz.sh 1.5
refused "fuzz.sh with a negative count" scripts/fuzz.sh -3
refused "fuzz.sh with a huge count" scripts/fuzz.sh 99999999999999999999
refused "test.sh with an unknown option" scripts/test.sh --fast
refused "test.sh with two options" scripts/test.sh --quick --sanitize
refused "setup.sh with an unknown option" scripts/setup.sh --fast
refused "setup.sh with two build folders" scripts/setup.sh build other
refused "setup.sh with --target and no name" scripts/setup.sh build --target
refused "golden.sh with an unknown option" scripts/golden.sh --all
refused "pictures.sh with an unknown option" scripts/pictures.sh --fast
refused "web.sh with an unknown option" scripts/web.sh --fast
refused "web.sh with a word for a port" scripts/web.sh --serve http
refused "web.sh with a port too high" scripts/web.sh --serve 70000
refused "web.sh with two actions" scripts/web.sh --check --bench

# The browser's libraries: sources that cannot be fetched are said, with
# status 3, and nothing is built; builds kept for the versions wanted (the
# newest, with no desktop packages to match) are used as they are,
# unfetched.
libraries="$stand_ins/libraries"
browser_libraries() { bash -c 'source scripts/lib/browser_libraries.sh && browser_libraries "$1"' _ "$libraries" 2>&1; }
out=$(browser_libraries)
status=$?
[ "$status" -eq 3 ] || fail "browser_libraries without Debian's sources: status $status"
[[ "$out" == *"cannot read Debian's source lists from deb.debian.org"* ]] ||
  fail "browser_libraries without sources says: $out"
grep -q "^apt-get .* update" "$stand_ins/called" || fail "browser_libraries did not ask apt for Debian's sources"
! grep -q "^emcmake\|^cmake" "$stand_ins/called" || fail "browser_libraries built without sources"
[ ! -e "$libraries/apt.work" ] || fail "browser_libraries left apt's working folder"
rm -f "$stand_ins/called"
for library in freetype zlib libpng; do
  mkdir -p "$libraries/$library/lib" && echo newest >"$libraries/$library/built-for"
done
out=$(browser_libraries) || fail "browser_libraries with kept builds: $out"
! grep -q "^apt-get\|^emcmake\|^cmake" "$stand_ins/called" || fail "browser_libraries fetched or built again"
rm -f "$stand_ins/called"

if [ "$failures" -gt 0 ]; then
  echo "$failures failures"
  exit 1
fi
echo "every script answers --help and refuses bad arguments before building; the browser libraries' fetch fails clearly and their builds are kept"

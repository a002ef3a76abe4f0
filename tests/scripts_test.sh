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

# FreeType for the browser: sources that cannot be fetched are said, with
# status 3, and nothing is built; a build kept for the version wanted (the
# newest, with no libfreetype6 to match) is used as it is, unfetched.
freetype_prefix="$stand_ins/freetype"
browser_freetype() { bash -c 'source scripts/lib/browser_freetype.sh && browser_freetype "$1"' _ "$freetype_prefix" 2>&1; }
out=$(browser_freetype)
status=$?
[ "$status" -eq 3 ] || fail "browser_freetype without Debian's sources: status $status"
[[ "$out" == *"cannot fetch Debian's source package freetype from"* ]] || fail "browser_freetype without sources says: $out"
grep -q "^apt-get .* update" "$stand_ins/called" || fail "browser_freetype did not ask apt for Debian's sources"
! grep -q "^emcmake\|^cmake" "$stand_ins/called" || fail "browser_freetype built without sources"
rm -f "$stand_ins/called"
mkdir -p "$freetype_prefix/lib" && touch "$freetype_prefix/lib/libfreetype.a" && echo newest >"$freetype_prefix/debian-version"
out=$(browser_freetype) || fail "browser_freetype with a kept build: $out"
! grep -q "^apt-get\|^emcmake\|^cmake" "$stand_ins/called" || fail "browser_freetype fetched or built again"
rm -f "$stand_ins/called"

if [ "$failures" -gt 0 ]; then
  echo "$failures failures"
  exit 1
fi
echo "every script answers --help and refuses bad arguments before building; FreeType's fetch fails clearly and its build is kept"

#!/usr/bin/env bash
# Runs a test so that it cannot install anything:  no_installs.sh COMMAND [ARGS...]
# Stand-ins for the commands that install packages come first on the PATH;
# each records its call and fails. The command's status is passed on,
# unless it called one of them: then this names the call and exits 1, even
# when the command ended with 0 or 77 (skipped). Installing is the job of
# scripts/setup.sh, scripts/test.sh and scripts/web.sh, never of ctest.
set -uo pipefail
stand_ins=$(mktemp -d)
trap 'rm -rf "$stand_ins"' EXIT
for command in apt-get apt aptitude dpkg sudo npm npx pip pip3; do
  printf '#!/bin/sh\necho "%s $*" >>"%s/called"\nexit 1\n' "$command" "$stand_ins" >"$stand_ins/$command"
  chmod +x "$stand_ins/$command"
done
PATH="$stand_ins:$PATH" "$@"
status=$?
if [ -s "$stand_ins/called" ]; then
  echo "no_installs.sh: the test ran '$(head -1 "$stand_ins/called")': tests install nothing" >&2
  exit 1
fi
exit "$status"

#!/usr/bin/env bash
# A desktop program's window under scripted input, as screenshots, for the
# browser tests to compare its page with. Runs under tests/with_xvfb.sh:
#   desktop_window.sh FOLDER OUT PROGRAM [ARGS...] -- [STEP...]
# Starts PROGRAM in FOLDER, waits for a steady screen and saves it as
# OUT/0.png; then, for each STEP (xdotool's words), runs it, waits for a
# steady screen again and saves OUT/N.png. Ends the program at last.
set -uo pipefail
folder="$1" out="$2"
shift 2
program=()
while [ $# -gt 0 ] && [ "$1" != -- ]; do
  program+=("$1")
  shift
done
[ $# -gt 0 ] && shift

(cd "$folder" && exec "${program[@]}" >"$out/output.txt" 2>&1) &
running=$!
trap 'kill "$running" 2>/dev/null; wait "$running" 2>/dev/null' EXIT

# Saves the screen as OUT/NAME.png once two screenshots 0.2 s apart agree
# and show something (10 s at most).
steady_screen() {
  local before="$out/before.ppm" now="$out/now.ppm"
  /usr/bin/import -window root -depth 8 "$before" 2>/dev/null
  for _ in $(seq 50); do
    sleep 0.2
    kill -0 "$running" 2>/dev/null || { echo "desktop_window.sh: ${program[0]} ended" >&2; cat "$out/output.txt" >&2; exit 1; }
    /usr/bin/import -window root -depth 8 "$now" 2>/dev/null
    if cmp -s "$before" "$now" && ! cmp -s "$now" "$out/black.ppm"; then
      /usr/bin/convert "$now" "$out/$1.png"
      rm -f "$before" "$now"
      return 0
    fi
    mv "$now" "$before"
  done
  echo "desktop_window.sh: the screen of ${program[0]} never settled" >&2
  exit 1
}

/usr/bin/import -window root -depth 8 "$out/black.ppm" 2>/dev/null
/usr/bin/convert "$out/black.ppm" -fill black -draw "color 0,0 reset" "$out/black.ppm"
steady_screen 0
step=0
for words in "$@"; do
  step=$((step + 1))
  # shellcheck disable=SC2086  # a step is xdotool's words
  xdotool $words
  sleep 0.3  # the program's next frames take the input
  steady_screen "$step"
done

# Argument checks shared by the scripts (sourced, not run). Every check
# answers at once, before anything is installed or built: a refusal is one
# line on standard error and status 2.

GRAIN_PROGRAMS=(grains_a grains_b grains_c grains_d)
WINDOW_PROGRAMS=(grains_a grains_b grains_c grains_d engine_showcase)
EXAMPLES=(sprite_window font_text panel_widgets patch_cord)

# refuse MESSAGE: the script's name and the message, then exit 2.
refuse() {
  echo "${0##*/}: $* (see --help)" >&2
  exit 2
}

# wants_help "$@": true when the arguments ask for the usage.
wants_help() {
  local argument
  for argument in "$@"; do
    case "$argument" in --help | -h) return 0 ;; esac
  done
  return 1
}

# require_window_program NAME: one of the programs that open a window.
require_window_program() {
  local program
  for program in "${WINDOW_PROGRAMS[@]}"; do [ "$1" = "$program" ] && return 0; done
  refuse "no program named '$1'; the programs are ${WINDOW_PROGRAMS[*]}"
}

# require_positive_integer WHAT VALUE: a whole number of at least 1.
require_positive_integer() {
  [[ "$2" =~ ^[0-9]+$ ]] && [ "${#2}" -le 6 ] && [ "$((10#$2))" -ge 1 ] ||
    refuse "$1 must be a whole number from 1 to 999999, not '$2'"
}

# require_positive_number WHAT VALUE: a number above 0, decimals allowed.
require_positive_number() {
  [[ "$2" =~ ^[0-9]{1,6}(\.[0-9]{1,3})?$ ]] && [[ "$2" =~ [1-9] ]] ||
    refuse "$1 must be a number above 0 (up to 999999, 3 decimals), not '$2'"
}

# optional_flag FLAG "$@": prints 1 when the one argument is FLAG, 0 when
# there is none; anything else is refused. Use: x=$(optional_flag ...) || exit 2
optional_flag() {
  local flag="$1"
  shift
  [ $# -le 1 ] || refuse "unexpected argument '$2'"
  case "${1:-}" in
    "") echo 0 ;;
    "$flag") echo 1 ;;
    *) refuse "unexpected argument '$1'" ;;
  esac
}

# grains_sim_path: the grains_sim to run: GRAINS_SIM, or else
# build/programs/grains_sim, built (it alone) first.
grains_sim_path() {
  if [ -n "${GRAINS_SIM:-}" ]; then
    echo "$GRAINS_SIM"
    return
  fi
  scripts/setup.sh build --target grains_sim >/dev/null
  echo build/programs/grains_sim
}

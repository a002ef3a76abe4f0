#!/usr/bin/env bash
# Installs the Debian packages this project builds and tests with, then
# configures and builds it (all of it, or the targets named).
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/lib/arguments.sh

usage() {
  cat <<'EOF'
Usage: scripts/setup.sh [BUILD_DIR] [--target NAME]... [-DNAME=VALUE]...

Installs the Debian packages the project needs (through sudo when not
root; packages already present are left alone), configures the project
into BUILD_DIR (default build) unless it is configured already, and builds
it.
  BUILD_DIR        the build folder (default build)
  --target NAME    build only NAME and what it needs (repeatable); default:
                   everything, tests included
  -DNAME=VALUE     a CMake cache setting passed on to the configuration,
                   e.g. -DGRAINS_SANITIZE=ON

Environment: none.

Example: scripts/setup.sh build --target grains_a
EOF
}

if wants_help "$@"; then usage; exit 0; fi
build_dir=""
targets=()
cmake_settings=()
while [ $# -gt 0 ]; do
  case "$1" in
    --target)
      [ $# -ge 2 ] && [[ "$2" =~ ^[A-Za-z0-9_.-]+$ ]] || refuse "--target needs a target name"
      targets+=(--target "$2")
      shift 2 ;;
    -D?*=*) cmake_settings+=("$1"); shift ;;
    -*) refuse "unexpected argument '$1'" ;;
    *)
      [ -z "$build_dir" ] || refuse "unexpected argument '$1' (the build folder is '$build_dir')"
      build_dir="$1"
      shift ;;
  esac
done
build_dir="${build_dir:-build}"

packages=(
  build-essential cmake pkg-config
  libsdl1.2-compat-dev libsdl-image1.2-dev libfreetype-dev
  libgl-dev libglu1-mesa-dev libgl1-mesa-dri libglx-mesa0
  libpng-dev libgif-dev libcli11-dev
  libgtest-dev xvfb xauth xdotool x11-utils imagemagick fonts-dejavu-core clang-format
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ "${#missing[@]}" -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# A build folder already configured needs no new configuration unless
# settings are given: the build runs it again when a CMakeLists.txt changed.
if [ "${#cmake_settings[@]}" -gt 0 ] || [ ! -f "$build_dir/CMakeCache.txt" ] ||
  { [ ! -f "$build_dir/Makefile" ] && [ ! -f "$build_dir/build.ninja" ]; }; then
  cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "${cmake_settings[@]}" >/dev/null
fi
cmake --build "$build_dir" -j"$(nproc)" "${targets[@]}"

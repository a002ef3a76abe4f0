# The libraries of the browser build (sourced, not run): Debian's own source
# packages of FreeType, zlib and libpng, of the versions the desktop has
# (so that both draw the same glyphs and read the same pictures), fetched
# and built with Emscripten into a folder of the web build once, and kept
# there. The system's apt sources, lists and caches are left alone: apt
# reads a source list and keeps its lists and downloads in a working folder
# of its own, removed once the libraries are built.

# Each library: its folder, its source package and the desktop's binary
# package whose version it takes, in build order (libpng and FreeType need
# zlib).
BROWSER_LIBRARIES=("zlib zlib zlib1g" "libpng libpng1.6 libpng16-16" "freetype freetype libfreetype6")

# browser_libraries PREFIX: each library in PREFIX/NAME (include/, lib/),
# built unless PREFIX/NAME holds it for the wanted version already. Returns
# 3 when Debian's sources cannot be fetched and 1 when a build fails, after
# saying why on stderr.
browser_libraries() {
  local prefix entry name source desktop status=0
  prefix=$(realpath -m "$1")  # apt takes relative paths from /etc/apt
  local apt_work="$prefix/apt.work"
  for entry in "${BROWSER_LIBRARIES[@]}"; do
    read -r name source desktop <<<"$entry"
    library_kept "$prefix/$name" "$desktop" && continue
    [ -d "$apt_work" ] || prepare_apt "$apt_work" || { status=3; break; }
    build_library "$apt_work" "$prefix" "$name" "$source" "$desktop" || { status=$?; break; }
  done
  rm -rf "$apt_work"
  return "$status"
}

# library_kept FOLDER DESKTOP_PACKAGE: whether FOLDER holds a library built
# for the desktop's version of DESKTOP_PACKAGE.
library_kept() {
  [ -d "$1/lib" ] && [ "$(cat "$1/built-for" 2>/dev/null)" = "$(desktop_version "$2")" ]
}

# The version of the desktop's binary package, or "newest" without one.
desktop_version() {
  local version
  version=$(dpkg-query -W -f='${Version}' "$1" 2>/dev/null || true)
  echo "${version:-newest}"
}

# apt run on a source list and folders of its own in WORK.
own_apt() {
  local work="$1" command="$2"
  shift 2
  "$command" -q -o "Dir::Etc::sourcelist=$work/sources.list" -o "Dir::Etc::sourceparts=$work/no-more-sources" \
    -o "Dir::State::Lists=$work/lists" -o "Dir::Cache=$work/cache" -o APT::Sandbox::User=root "$@"
}

# prepare_apt WORK: Debian's source lists, read into WORK.
prepare_apt() {
  local work="$1" codename
  mkdir -p "$work/lists/partial" "$work/cache/archives/partial" "$work/no-more-sources"
  codename=$(. /etc/os-release && echo "${VERSION_CODENAME:-bookworm}")
  local keyring=/usr/share/keyrings/debian-archive-keyring.gpg
  cat >"$work/sources.list" <<SOURCES
deb-src [signed-by=$keyring] http://deb.debian.org/debian $codename main
deb-src [signed-by=$keyring] http://deb.debian.org/debian $codename-updates main
deb-src [signed-by=$keyring] http://deb.debian.org/debian-security $codename-security main
SOURCES
  own_apt "$work" apt-get update >"$work/update.log" 2>&1 && return 0
  echo "web.sh: cannot read Debian's source lists from deb.debian.org; the end of $work/update.log:" >&2
  tail -n 5 "$work/update.log" >&2
  return 1
}

# The source versions to try: the desktop's own first (without a binNMU's
# +bN), then the others Debian offers, newest first.
source_versions() {
  local work="$1" source="$2" wanted="$3"
  [ "$wanted" = newest ] || echo "${wanted%+b[0-9]*}"
  own_apt "$work" apt-cache showsrc "$source" 2>/dev/null | sed -n 's/^Version: //p' | sort -rVu
}

# build_library APT_WORK PREFIX NAME SOURCE DESKTOP: fetches SOURCE, unpacks
# it with its patches and builds it into PREFIX/NAME.
build_library() {
  local apt_work="$1" prefix="$2" name="$3" source="$4" desktop="$5" wanted version fetched=""
  wanted=$(desktop_version "$desktop")
  local work="$prefix/$name.work"
  rm -rf "$prefix/$name" "$work"
  mkdir -p "$work"
  for version in $(source_versions "$apt_work" "$source" "$wanted"); do
    rm -f "$work"/*.dsc
    if (cd "$work" && own_apt "$apt_work" apt-get source --download-only "$source=$version") >>"$work/fetch.log" 2>&1; then
      fetched="$version"
      break
    fi
  done
  if [ -z "$fetched" ]; then
    echo "web.sh: cannot fetch Debian's source package $source from deb.debian.org; the end of $work/fetch.log:" >&2
    tail -n 5 "$work/fetch.log" >&2
    return 3
  fi
  echo "Building $name ($source $fetched) for the browser into $prefix/$name"
  if ! dpkg-source -x "$work"/*.dsc "$work/source" >>"$work/fetch.log" 2>&1; then
    echo "web.sh: cannot unpack Debian's $source source package (dpkg-source); see $work/fetch.log" >&2
    return 1
  fi
  if ! "build_$name" "$work" "$prefix/$name" "$prefix" >"$work/build.log" 2>&1; then
    echo "web.sh: building $name for the browser failed; the end of $work/build.log:" >&2
    tail -n 20 "$work/build.log" >&2
    return 1
  fi
  echo "$wanted" >"$prefix/$name/built-for"
  rm -rf "$work"
}

# build_NAME WORK INSTALL_FOLDER PREFIX: static libraries for wasm.

# FreeType on the zlib above (as Debian's is on the system's), without the
# PNG, HarfBuzz, bzip2 and Brotli support the engine does not use.
build_freetype() {
  emcmake cmake -S "$1/source" -B "$1/build" -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$2" \
    -DFT_REQUIRE_ZLIB=ON -DZLIB_LIBRARY="$3/zlib/lib/libz.a" -DZLIB_INCLUDE_DIR="$3/zlib/include" \
    -DFT_DISABLE_BZIP2=ON -DFT_DISABLE_PNG=ON -DFT_DISABLE_HARFBUZZ=ON -DFT_DISABLE_BROTLI=ON &&
    cmake --build "$1/build" -j"$(nproc)" && cmake --install "$1/build"
}

# zlib with its own configure script (Debian's sources leave out the files
# its CMake build needs for a shared library).
build_zlib() {
  (cd "$1/source" && emconfigure ./configure --static --prefix="$2" && emmake make -j"$(nproc)" libz.a &&
    emmake make install)
}

# libpng on the zlib above, without its programs, tests and processor-
# specific code.
build_libpng() {
  emcmake cmake -S "$1/source" -B "$1/build" -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$2" \
    -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF -DPNG_HARDWARE_OPTIMIZATIONS=OFF \
    -DZLIB_LIBRARY="$3/zlib/lib/libz.a" -DZLIB_INCLUDE_DIR="$3/zlib/include" &&
    cmake --build "$1/build" -j"$(nproc)" && cmake --install "$1/build"
}

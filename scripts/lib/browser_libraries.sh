# FreeType for the browser build (sourced, not run): Debian's own source
# package, of the version the desktop's libfreetype6 has (so both render the
# same glyphs), fetched and built with Emscripten into a folder of the web
# build once, and kept there. The system's apt sources, lists and caches are
# left alone: apt reads a source list and keeps its lists and downloads in a
# working folder of its own, removed once the library is built.

# browser_freetype PREFIX: leaves PREFIX/include/freetype2 and
# PREFIX/lib/libfreetype.a, built unless PREFIX holds them for the wanted
# version already. Returns 3 when Debian's sources cannot be fetched and 1
# when the build fails, after saying why on stderr.
browser_freetype() {
  freetype_kept "$1" && return 0
  local prefix version package=freetype
  prefix=$(realpath -m "$1")  # apt takes relative paths from /etc/apt
  version=$(wanted_freetype_version)
  [ "$version" = newest ] || package="freetype=$version"
  local work="$prefix.work"
  rm -rf "$prefix" "$work"
  mkdir -p "$work/lists/partial" "$work/cache/archives/partial" "$work/no-more-sources"
  echo "Fetching and building FreeType ($version) for the browser into $prefix"
  fetch_freetype_source "$work" "$package" || return 3
  if ! build_freetype "$work" "$prefix" >"$work/build.log" 2>&1; then
    echo "web.sh: building FreeType for the browser failed; the end of $work/build.log:" >&2
    tail -n 20 "$work/build.log" >&2
    return 1
  fi
  echo "$version" >"$prefix/debian-version"
  rm -rf "$work"
}

# freetype_kept PREFIX: whether PREFIX holds the library of the wanted version.
freetype_kept() {
  [ -f "$1/lib/libfreetype.a" ] && [ "$(cat "$1/debian-version" 2>/dev/null)" = "$(wanted_freetype_version)" ]
}

# The version of the desktop's libfreetype6, or "newest" without one.
wanted_freetype_version() {
  local version
  version=$(dpkg-query -W -f='${Version}' libfreetype6 2>/dev/null || true)
  echo "${version:-newest}"
}

# fetch_freetype_source WORK PACKAGE: Debian's source package PACKAGE
# (freetype, or freetype=VERSION), unpacked with its patches into
# WORK/source.
fetch_freetype_source() {
  local work="$1" package="$2" codename
  codename=$(. /etc/os-release && echo "${VERSION_CODENAME:-bookworm}")
  local keyring=/usr/share/keyrings/debian-archive-keyring.gpg
  cat >"$work/sources.list" <<SOURCES
deb-src [signed-by=$keyring] http://deb.debian.org/debian $codename main
deb-src [signed-by=$keyring] http://deb.debian.org/debian $codename-updates main
deb-src [signed-by=$keyring] http://deb.debian.org/debian-security $codename-security main
SOURCES
  local apt=(apt-get -q -o "Dir::Etc::sourcelist=$work/sources.list" -o "Dir::Etc::sourceparts=$work/no-more-sources"
    -o "Dir::State::Lists=$work/lists" -o "Dir::Cache=$work/cache" -o APT::Sandbox::User=root)
  if ! "${apt[@]}" update >"$work/fetch.log" 2>&1 ||
    ! (cd "$work" && "${apt[@]}" source --download-only "$package") >>"$work/fetch.log" 2>&1; then
    echo "web.sh: cannot fetch Debian's source package $package from deb.debian.org; the end of $work/fetch.log:" >&2
    tail -n 5 "$work/fetch.log" >&2
    return 1
  fi
  dpkg-source -x "$work"/freetype_*.dsc "$work/source" >>"$work/fetch.log" 2>&1 || {
    echo "web.sh: cannot unpack Debian's freetype source package (dpkg-source); see $work/fetch.log" >&2
    return 1
  }
}

# build_freetype WORK PREFIX: the static library for wasm, without the
# compressed-font, PNG, HarfBuzz and Brotli support the engine does not use.
build_freetype() {
  emcmake cmake -S "$1/source" -B "$1/build" -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$2" \
    -DFT_DISABLE_ZLIB=ON -DFT_DISABLE_BZIP2=ON -DFT_DISABLE_PNG=ON -DFT_DISABLE_HARFBUZZ=ON -DFT_DISABLE_BROTLI=ON &&
    cmake --build "$1/build" -j"$(nproc)" && cmake --install "$1/build"
}

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
  local prefix version
  prefix=$(realpath -m "$1")  # apt takes relative paths from /etc/apt
  version=$(dpkg-query -W -f='${Version}' libfreetype6 2>/dev/null || true)
  if [ -f "$prefix/lib/libfreetype.a" ] && [ "$(cat "$prefix/debian-version" 2>/dev/null)" = "${version:-newest}" ]; then
    return 0
  fi
  local work="$prefix.work"
  rm -rf "$prefix" "$work"
  mkdir -p "$work/lists/partial" "$work/cache/archives/partial" "$work/no-more-sources"
  echo "Fetching and building FreeType ${version:-(newest)} for the browser into $prefix"
  fetch_freetype_source "$work" "$version" || return 3
  if ! build_freetype "$work" "$prefix" >"$work/build.log" 2>&1; then
    echo "web.sh: building FreeType for the browser failed; the end of $work/build.log:" >&2
    tail -n 20 "$work/build.log" >&2
    return 1
  fi
  echo "${version:-newest}" >"$prefix/debian-version"
  rm -rf "$work"
}

# fetch_freetype_source WORK VERSION: Debian's freetype source package
# (VERSION, or the newest when empty), unpacked with its patches into
# WORK/source.
fetch_freetype_source() {
  local work="$1" version="$2" codename
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
    ! (cd "$work" && "${apt[@]}" source --download-only "freetype${version:+=$version}") >>"$work/fetch.log" 2>&1; then
    echo "web.sh: cannot fetch Debian's freetype${version:+ $version} source package from deb.debian.org;" \
      "the end of $work/fetch.log:" >&2
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

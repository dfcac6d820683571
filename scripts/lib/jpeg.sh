# shellcheck shell=bash disable=SC2034  # variables used by the other pieces
# libjpeg-turbo from Debian's source package, cross-built static for the
# target into the cache (once; about 10 s).

PERIVANE_JPEG_FLAGS=(
  -DENABLE_SHARED=OFF -DWITH_SIMD=OFF -DWITH_TURBOJPEG=OFF
  -DCMAKE_BUILD_TYPE=Release
)

# Sets JPEG_ROOT to the install prefix, building it first if needed.
ensure_libjpeg() {
  JPEG_ROOT="$PERIVANE_CACHE/libjpeg-turbo"
  # What the install was built from and with: a change rebuilds it.
  local stamp
  stamp="$(printf '%s\n' "${PERIVANE_JPEG_FLAGS[*]}"; cat "$PERIVANE_TOOLCHAIN_FILE")"
  stamp="$(printf '%s' "$stamp" | sha256sum | cut -c1-16)"
  if perivane_libjpeg_ready "$stamp"; then
    return 0
  fi

  # Two checkouts sharing the cache build it once.
  local lockfd
  exec {lockfd}>"$PERIVANE_CACHE/libjpeg-turbo.lock"
  flock "$lockfd"
  if ! perivane_libjpeg_ready "$stamp"; then
    perivane_build_libjpeg "$stamp"
  fi
  exec {lockfd}>&-
}

perivane_libjpeg_ready() {
  [[ -f $JPEG_ROOT/lib/libjpeg.a && -f $JPEG_ROOT/include/jpeglib.h &&
     "$(cat "$JPEG_ROOT/.perivane-stamp" 2>/dev/null)" == "$1" ]]
}

# The newest orig tarball in folder $1, or nothing.
perivane_jpeg_tarball() {
  local f last=
  for f in "$1"/libjpeg-turbo_*.orig.tar.*; do
    [[ -f $f ]] && last="$f"
  done
  printf '%s' "$last"
}

perivane_build_libjpeg() {
  local stamp="$1"
  local src="$PERIVANE_CACHE/src/libjpeg-turbo"
  mkdir -p "$src"

  local tarball
  tarball="$(perivane_jpeg_tarball "$src")"
  if [[ -z $tarball ]]; then
    if ensure_deb_src; then
      perivane_apt_updated=0
      perivane_apt_update
    fi
    say "downloading the libjpeg-turbo source package"
    if ! (cd "$src" && apt-get source -qq --download-only libjpeg-turbo); then
      # The package lists may be older than the entry: refresh once, retry.
      perivane_apt_updated=0
      perivane_apt_update
      (cd "$src" && apt-get source -qq --download-only libjpeg-turbo)
    fi
    tarball="$(perivane_jpeg_tarball "$src")"
    [[ -n $tarball ]] || die "apt-get source brought no libjpeg-turbo orig tarball"
  fi

  say "cross-building $(basename "$tarball")"
  local work="$PERIVANE_CACHE/src/libjpeg-turbo-build"
  rm -rf "$work" "$JPEG_ROOT.new"
  mkdir -p "$work/src"
  tar -xf "$tarball" -C "$work/src" --strip-components=1
  cmake -S "$work/src" -B "$work/build" -G Ninja -Wno-dev \
    -DCMAKE_TOOLCHAIN_FILE="$PERIVANE_TOOLCHAIN_FILE" \
    "${PERIVANE_JPEG_FLAGS[@]}" \
    -DCMAKE_INSTALL_PREFIX="$JPEG_ROOT.new" >"$work/configure.log" 2>&1 ||
    { cat "$work/configure.log" >&2; die "libjpeg-turbo: configure failed"; }
  cmake --build "$work/build" -j "$(perivane_jobs)" >"$work/build.log" 2>&1 ||
    { tail -n 50 "$work/build.log" >&2; die "libjpeg-turbo: build failed"; }
  cmake --install "$work/build" >"$work/install.log" 2>&1 ||
    { cat "$work/install.log" >&2; die "libjpeg-turbo: install failed"; }
  printf '%s\n' "$stamp" >"$JPEG_ROOT.new/.perivane-stamp"
  # Replace the old install in one step: a half-built one never looks ready.
  rm -rf "$JPEG_ROOT"
  mv "$JPEG_ROOT.new" "$JPEG_ROOT"
  rm -rf "$work"
}

# shellcheck shell=bash
# Configure (CMake, Ninja, build/ in the checkout) and build.

# Configures and builds; extra arguments go to the build (e.g. --target x).
perivane_build() {
  mkdir -p "$PERIVANE_BUILD"
  cmake -S "$PERIVANE_TOP" -B "$PERIVANE_BUILD" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$PERIVANE_TOOLCHAIN_FILE" \
    -DJPEG_ROOT="$JPEG_ROOT" \
    -DPERIVANE_CHECKED=ON >"$PERIVANE_BUILD/configure.log" 2>&1 ||
    { cat "$PERIVANE_BUILD/configure.log" >&2; return 1; }
  cmake --build "$PERIVANE_BUILD" -j "$(perivane_jobs)" "$@"
}

# Everything before the build: packages, caches, libjpeg.
perivane_setup() {
  ensure_packages
  perivane_cache_env
  ensure_libjpeg
}

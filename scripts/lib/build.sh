# shellcheck shell=bash
# Configure (CMake, Ninja, build/ in the checkout) and build.

# Configures folder $1 as build type $2 with PERIVANE_CHECKED $3, then builds;
# further arguments go to the build (e.g. --target x).
perivane_configure_and_build() {
  local dir="$1" type="$2" checked="$3"
  shift 3
  mkdir -p "$dir"
  cmake -S "$PERIVANE_TOP" -B "$dir" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$PERIVANE_TOOLCHAIN_FILE" \
    -DJPEG_ROOT="$JPEG_ROOT" \
    -DCMAKE_BUILD_TYPE="$type" \
    -DPERIVANE_CHECKED="$checked" >"$dir/configure.log" 2>&1 ||
    { cat "$dir/configure.log" >&2; return 1; }
  cmake --build "$dir" -j "$(perivane_jobs)" "$@"
}

# The tests' build in build/: Debug, pixel accesses checked.
perivane_build() {
  perivane_configure_and_build "$PERIVANE_BUILD" Debug ON "$@"
}

# The release build in build-release/: optimised, checks off; what ships and
# what the benchmarks measure.
perivane_build_release() {
  perivane_configure_and_build "$PERIVANE_BUILD_RELEASE" Release OFF "$@"
}

# Everything before the build: packages, caches, libjpeg.
perivane_setup() {
  ensure_packages
  perivane_cache_env
  ensure_libjpeg
}

# shellcheck shell=bash disable=SC2034  # variables used by the other pieces
# Shared by scripts/test and scripts/run: paths, caches, messages.
# Source it; it defines functions and variables, it starts nothing.

# The checkout this script belongs to (its absolute, symlink-free path).
PERIVANE_TOP="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd -P)"
PERIVANE_BUILD="$PERIVANE_TOP/build"
PERIVANE_BUILD_RELEASE="$PERIVANE_TOP/build-release"
PERIVANE_TOOLCHAIN_FILE="$PERIVANE_TOP/cmake/mingw-w64-x86_64.cmake"

# Caches live outside the clone, shared by every clone and worktree.
PERIVANE_CACHE="${PERIVANE_CACHE:-$HOME/.cache/perivane}"

perivane_jobs() { nproc 2>/dev/null || echo 4; }

say() { printf '[perivane] %s\n' "$*" >&2; }
die() { printf '[perivane] error: %s\n' "$*" >&2; exit 1; }

# Creates the cache folder and points ccache at it. The base dir and
# CCACHE_NOHASHDIR make paths in compile commands relative to the checkout,
# so that every clone and worktree hits the same cache entries.
perivane_cache_env() {
  mkdir -p "$PERIVANE_CACHE"
  PERIVANE_CACHE="$(cd "$PERIVANE_CACHE" && pwd -P)"
  export PERIVANE_CACHE
  export CCACHE_DIR="$PERIVANE_CACHE/ccache"
  export CCACHE_BASEDIR="$PERIVANE_TOP"
  export CCACHE_NOHASHDIR=1
}

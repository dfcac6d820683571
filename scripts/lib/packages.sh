# shellcheck shell=bash
# Debian packages the build and the tests need; installs only what is missing.

PERIVANE_PACKAGES=(
  cmake ninja-build ccache
  g++-mingw-w64-x86-64-posix
  wine wine64 fonts-wine
  xvfb xauth
  xdg-utils
  dpkg-dev
  googletest
)

perivane_apt_updated=0

perivane_as_root() {
  if [[ $(id -u) -eq 0 ]]; then
    "$@"
  elif command -v sudo >/dev/null; then
    sudo "$@"
  else
    die "need root for: $*"
  fi
}

perivane_apt_update() {
  if [[ $perivane_apt_updated -eq 0 ]]; then
    say "apt-get update"
    perivane_as_root apt-get update -qq
    perivane_apt_updated=1
  fi
}

perivane_missing_packages() {
  local p status
  for p in "${PERIVANE_PACKAGES[@]}"; do
    status="$(dpkg-query -W -f='${db:Status-Status}' "$p" 2>/dev/null || true)"
    [[ $status == installed ]] || printf '%s\n' "$p"
  done
}

ensure_packages() {
  local missing
  mapfile -t missing < <(perivane_missing_packages)
  if [[ ${#missing[@]} -eq 0 ]]; then
    return 0
  fi
  say "installing: ${missing[*]}"
  perivane_apt_update
  perivane_as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq \
    --no-install-recommends -o DPkg::Lock::Timeout=300 "${missing[@]}"
}

# Source packages need deb-src entries. Ours are a copy of the machine's own
# Debian entries with only the type changed, so no host name is written here.
PERIVANE_SRC_LIST=/etc/apt/sources.list.d/perivane-deb-src.sources

perivane_deb_src_entries() {
  local deb822=/etc/apt/sources.list.d/debian.sources
  if [[ -f $deb822 ]]; then
    sed -E 's/^Types:.*$/Types: deb-src/' "$deb822"
  elif [[ -f /etc/apt/sources.list ]]; then
    # One-line format: turn each "deb" line into a deb822 stanza.
    awk '$1 == "deb" {
           opts = ""; i = 2
           if ($2 ~ /^\[/) { while ($i !~ /\]$/) i++; i++ }
           printf "Types: deb-src\nURIs: %s\nSuites: %s\nComponents:", $i, $(i+1)
           for (j = i + 2; j <= NF; j++) printf " %s", $j
           printf "\n\n"
         }' /etc/apt/sources.list
  fi
}

# Returns 0 when the entry was (re)written, so that apt must be updated.
ensure_deb_src() {
  local want
  want="$(perivane_deb_src_entries)"
  [[ -n $want ]] || die "no Debian apt entry to derive a deb-src entry from"
  if [[ -f $PERIVANE_SRC_LIST ]] && [[ "$(cat "$PERIVANE_SRC_LIST")" == "$want" ]]; then
    return 1
  fi
  say "adding deb-src entries: $PERIVANE_SRC_LIST"
  printf '%s\n' "$want" | perivane_as_root tee "$PERIVANE_SRC_LIST" >/dev/null
  return 0
}

# shellcheck shell=bash
# The Wine side: one prefix per checkout in the cache, an Xvfb display, a
# persistent wineserver, the tests' desktop, and the cleanup of whatever was
# started here.

# Wine's locale is its default for C.UTF-8: en-US, ANSI code page 1252, OEM
# 437, M/d/yyyy. The locale must be one glibc has (C.UTF-8 always is): with a
# name glibc lacks, Wine still takes en-US from LC_ALL but its host character
# set falls back to ASCII, and a file whose name holds any other character
# cannot be created or found. Only Wine-facing commands get it.
PERIVANE_WINE_LOCALE=(LANG=C.UTF-8 LC_ALL=C.UTF-8 LANGUAGE=)

PERIVANE_XVFB_PID=
PERIVANE_WINESERVER_STARTED=0

# What a ready prefix holds (written into prefix.ready): a prefix made by
# other steps is made again.
PERIVANE_PREFIX_STAMP="perivane prefix 3: wineboot -i, Wine's fonts, Managed=N, no debugger"

# Wine runs without address-space randomisation. Debian's wine64 comes
# without Wine's preloader, which reserves the addresses Windows fixes before
# any host library loads. The kernel starts the loader's heap (the program
# break) anywhere in the 1 GB above the loader's image at 0x7d000000, so about
# one Wine process in 5000 finds its heap over 0x7ffe0000, the shared user
# data page of every Windows process, and exits at once with status 1 ("failed
# to map the shared user data", unseen under WINEDEBUG=-all): a test failing
# in 0.01 s with no output, or, when it is the explorer a test starts for the
# desktop, a test whose first window fails ("System Error.  Code: 1411").
# Without randomisation the break lies right after the image. The setting is
# inherited: every Wine process started by one of these (services, explorer,
# the tests' children) has it too.
PERIVANE_NORANDOM=()

# Exports WINEPREFIX (and friends) for this checkout; creates nothing.
perivane_wine_env() {
  local key
  key="$(printf '%s' "$PERIVANE_TOP" | sha256sum | cut -c1-16)"
  PERIVANE_WINE_HOME="$PERIVANE_CACHE/wine/$key"
  export WINEPREFIX="$PERIVANE_WINE_HOME/prefix"
  export WINEDEBUG=-all
  export WINEARCH=win64
  # No desktop entries or file associations written to the host, and no
  # Mono/Gecko installer dialogs waiting for a click.
  export WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree=;mshtml="
  mkdir -p "$PERIVANE_WINE_HOME"
  printf '%s\n' "$PERIVANE_TOP" >"$PERIVANE_WINE_HOME/checkout"
  local arch
  arch="$(uname -m)"
  if setarch "$arch" -R true </dev/null >/dev/null 2>&1; then
    PERIVANE_NORANDOM=(setarch "$arch" -R)
  else
    # Some sandboxes refuse the personality change; Wine still works there.
    PERIVANE_NORANDOM=()
    say "warning: setarch -R is refused here; now and then a Wine process may fail to start"
  fi
}

# Two runs of the same checkout (build folder, prefix, wineserver) take turns.
# The lock is fd 9; everything started in the background closes it.
perivane_lock_checkout() {
  exec 9>"$PERIVANE_WINE_HOME/lock"
  if ! flock -n 9; then
    say "another run of this checkout is active; waiting for it"
    flock 9
  fi
}

# Any command that starts Wine processes, without address randomisation.
perivane_norandom() {
  "${PERIVANE_NORANDOM[@]}" "$@"
}

perivane_wine() {
  perivane_norandom env "${PERIVANE_WINE_LOCALE[@]}" wine "$@"
}

# Wine's own fonts, those still missing (Debian's Wine does not load them from
# elsewhere: every face would be DejaVu Sans).
perivane_copy_fonts() {
  local fonts="$WINEPREFIX/drive_c/windows/Fonts"
  mkdir -p "$fonts"
  local f
  for f in /usr/share/wine/fonts/*.ttf /usr/share/wine/fonts/*.fon; do
    [[ -e $f && ! -e $fonts/${f##*/} ]] && cp "$f" "$fonts/"
  done
  return 0
}

# Creates the prefix once, complete before it is marked ready: Wine's fonts
# in it, no window left to a window manager (there is none under Xvfb, and
# Wine would wait about 4 s for it each time an activated window hides), and
# no debugger for a program that faults: Wine's default starts winedbg, whose
# crash dialog waits for a click that never comes, so the program hung until
# ctest's timeout. With an empty AeDebug Debugger, Wine writes its one line
# ("wine: Unhandled page fault on write access to ... at address ...") to
# the program's error stream and the process ends at once with the exception
# code as its exit code (the Unix status is its low byte: 5 for an access
# violation).
# No display while it is made: nothing can pop up and wait. The last step
# waits until every Wine process of the making has ended and the wineserver
# has written the registry, so no test ever meets a prefix still settling.
ensure_wine_prefix() {
  local ready="$PERIVANE_WINE_HOME/prefix.ready"
  if [[ "$(cat "$ready" 2>/dev/null)" == "$PERIVANE_PREFIX_STAMP" ]]; then
    perivane_copy_fonts  # a newer fonts-wine may bring more
    return 0
  fi
  say "creating the Wine prefix $WINEPREFIX"
  rm -f "$ready"
  rm -rf "$WINEPREFIX"
  perivane_norandom env -u DISPLAY "${PERIVANE_WINE_LOCALE[@]}" wineboot -i </dev/null >/dev/null 2>&1 9>&-
  perivane_copy_fonts
  (
    unset DISPLAY
    # From the prefix: a reg.exe in the caller's folder would run instead.
    cd "$WINEPREFIX"
    perivane_wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >/dev/null 2>&1 9>&-
    perivane_wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Debugger /d '' /f \
      </dev/null >/dev/null 2>&1 9>&-
  ) || die "could not set Managed=N and the debugger in $WINEPREFIX"
  env -u DISPLAY wineserver -w </dev/null >/dev/null 2>&1 9>&-
  [[ -f $WINEPREFIX/system.reg ]] || die "wineboot did not create $WINEPREFIX"
  grep -q '^"Managed"="N"' "$WINEPREFIX/user.reg" || die "Managed=N is not in $WINEPREFIX/user.reg"
  grep -q '^"Debugger"=""' "$WINEPREFIX/system.reg" || die "the empty debugger is not in $WINEPREFIX/system.reg"
  printf '%s\n' "$PERIVANE_PREFIX_STAMP" >"$ready"
}

# Starts Xvfb at 1024x768x24 on a free display and exports DISPLAY.
# Xvfb picks the display itself (-displayfd): it claims a number with its own
# lock file, atomically, and writes the number once its socket is ready. A
# number picked here from the absent lock files raced another run started at
# the same moment: the loser could take the winner's socket for its own and
# lose the display when the winner's run ended ("Class does not exist" for
# every window after that).
start_xvfb() {
  local tries log="$PERIVANE_WINE_HOME/xvfb.log" numfile="$PERIVANE_WINE_HOME/xvfb.display" n
  : >"$numfile"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$numfile" </dev/null >"$log" 2>&1 9>&- &
  PERIVANE_XVFB_PID=$!
  for ((tries = 0; tries < 400; tries++)); do
    n="$(grep -x '[0-9][0-9]*' "$numfile" 2>/dev/null || true)"
    if [[ -n $n ]]; then
      export DISPLAY=":$n"
      return 0
    fi
    kill -0 "$PERIVANE_XVFB_PID" 2>/dev/null || break
    sleep 0.05
  done
  kill "$PERIVANE_XVFB_PID" 2>/dev/null || true
  wait "$PERIVANE_XVFB_PID" 2>/dev/null || true
  PERIVANE_XVFB_PID=
  die "Xvfb did not come up (see $log)"
}

# Wine opens documents and links on the host: its shell hands a ".pdf" file or
# a web link to winebrowser, which runs the host's xdg-open. A test opens
# nothing on the machine but the disc's own programs, so for the tests
# xdg-open is one that only says what it was asked to open.
perivane_no_host_open() {
  local dir="$PERIVANE_CACHE/tools/no-host-open"
  mkdir -p "$dir"
  cat >"$dir/xdg-open.$$" <<'SHIM'
#!/bin/sh
echo "perivane tests: not opening $*" >&2
exit 1
SHIM
  chmod +x "$dir/xdg-open.$$"
  mv -f "$dir/xdg-open.$$" "$dir/xdg-open"
  export PATH="$dir:$PATH"
}

# A persistent wineserver and the Wine services, with every stream detached:
# the services outlive the command that starts them, and if they held ctest's
# pipes ctest would wait for ever.
start_wine() {
  wineserver -p </dev/null >/dev/null 2>&1 9>&-
  PERIVANE_WINESERVER_STARTED=1
  perivane_wine wineboot </dev/null >/dev/null 2>&1 9>&-
}

# The desktop, up before the first test and kept for the whole run (see
# desktop.c). Without it the first test to need a window starts Wine's
# explorer, which then holds that test's output pipe until Wine closes the
# idle desktop, a second after the last user leaves: ctest counts that time
# to the test (in a parallel run, until a pause in the other tests: up to
# ctest's timeout, a passed test "hanging at exit"), and every test run alone
# starts a desktop of its own.
start_desktop() {
  local src="$PERIVANE_TOP/scripts/lib/desktop.c" hash exe
  hash="$(sha256sum <"$src" | cut -c1-16)"
  exe="$PERIVANE_CACHE/tools/desktop-$hash.exe"
  if [[ ! -f $exe ]]; then
    mkdir -p "$PERIVANE_CACHE/tools"
    x86_64-w64-mingw32-gcc-posix -O1 -Wall -Wextra -Werror -static -o "$exe.$$" "$src" -luser32 ||
      die "could not build $src"
    mv -f "$exe.$$" "$exe"
  fi
  local log="$PERIVANE_WINE_HOME/desktop.log" pid tries
  : >"$log"
  perivane_wine "$exe" </dev/null >"$log" 2>&1 9>&- &
  pid=$!
  for ((tries = 0; tries < 600; tries++)); do
    grep -q '^ready' "$log" && return 0
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.05
  done
  say "warning: the desktop did not come up (see $log); the tests start it themselves, and the one that does may wait until the desktop is idle"
}

stop_wine_and_display() {
  if [[ $PERIVANE_WINESERVER_STARTED -eq 1 ]]; then
    wineserver -k </dev/null >/dev/null 2>&1 9>&- || true
    PERIVANE_WINESERVER_STARTED=0
  fi
  if [[ -n $PERIVANE_XVFB_PID ]]; then
    kill "$PERIVANE_XVFB_PID" 2>/dev/null || true
    wait "$PERIVANE_XVFB_PID" 2>/dev/null || true
    PERIVANE_XVFB_PID=
  fi
}

# Cleanup on every way out; Ctrl-C and TERM exit with the usual codes.
perivane_traps() {
  trap 'stop_wine_and_display' EXIT
  trap 'stop_wine_and_display; trap - EXIT; exit 130' INT
  trap 'stop_wine_and_display; trap - EXIT; exit 143' TERM
}

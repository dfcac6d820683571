#!/usr/bin/env bash
# Several runs of the scripts start their Xvfb at the same instant: each must
# get a display of its own, served by its own server, for the whole run.
set -euo pipefail
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd -P)"
runs=${1:-8}
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

one_run() {
  local i=$1
  # shellcheck source=/dev/null
  source "$top/scripts/lib/common.sh"
  # shellcheck source=/dev/null
  source "$top/scripts/lib/wine.sh"
  PERIVANE_WINE_HOME="$work/run$i"
  mkdir -p "$PERIVANE_WINE_HOME"
  trap 'stop_wine_and_display' EXIT
  while [[ ! -e $work/go ]]; do sleep 0.01; done
  start_xvfb
  printf '%s %s\n' "$DISPLAY" "$PERIVANE_XVFB_PID" >"$work/run$i.display"
  # Hold the display until every run has one, then check it is still ours.
  while (($(ls "$work"/run*.display 2>/dev/null | wc -l) < runs)); do sleep 0.02; done
  sleep 0.5
  local ok=1
  if ! kill -0 "$PERIVANE_XVFB_PID" 2>/dev/null; then
    echo "run $i: its server for $DISPLAY is gone" >&2
    ok=0
  elif [[ ! -S /tmp/.X11-unix/X${DISPLAY#:} ]]; then
    echo "run $i: no socket for $DISPLAY" >&2
    ok=0
  fi
  # Every run keeps its server until all have looked at theirs.
  touch "$work/run$i.done"
  while (($(ls "$work"/run*.done 2>/dev/null | wc -l) < runs)); do sleep 0.02; done
  ((ok))
}

pids=()
for ((i = 0; i < runs; i++)); do
  one_run "$i" &
  pids+=($!)
done
touch "$work/go"
rc=0
for p in "${pids[@]}"; do wait "$p" || rc=1; done
displays="$(cut -d' ' -f1 "$work"/run*.display 2>/dev/null | sort)"
if [[ $(printf '%s\n' "$displays" | grep -c .) -ne $runs ]]; then
  echo "not every run got a display:" $displays >&2
  rc=1
fi
dups="$(printf '%s\n' "$displays" | uniq -d)"
if [[ -n $dups ]]; then
  echo "displays shared by two runs: $dups" >&2
  rc=1
fi
[[ $rc -eq 0 ]] && echo "$runs runs, $runs displays:" $displays
exit "$rc"

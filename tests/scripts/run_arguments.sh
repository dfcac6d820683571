#!/usr/bin/env bash
# scripts/run refuses arguments it cannot honour before it installs, builds
# or starts anything: a pick that nothing would make, a row that is no row
# number, a screenshot without a file. Each case must end at once, with a
# non-zero exit and the message that says what was wrong.
set -uo pipefail
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd -P)"
run="${1:-$top/scripts/run}"
rc=0
check() {
  local display="$1" expected="$2"
  shift 2
  local out status
  out="$(cd "$top" && DISPLAY="$display" timeout 20 bash "$run" "$@" 2>&1 </dev/null)"
  status=$?
  if [[ $status -eq 0 || $status -eq 124 ]]; then
    echo "scripts/run $* (DISPLAY=$display): exit $status, expected a refusal" >&2
    rc=1
  elif [[ $out != *"$expected"* ]]; then
    echo "scripts/run $* (DISPLAY=$display): said '$out', expected '$expected'" >&2
    rc=1
  fi
}
# On the caller's display nothing makes the picks.
check :97 "--pick works only with --screenshot" --pick 1 1
check :97 "--pick works only with --screenshot" --pick 9 1
check :97 "--pick needs two row numbers" --screenshot /tmp/x.png --pick 0 1
check :97 "--pick needs two row numbers" --screenshot /tmp/x.png --pick 1
check "" "--pick needs two row numbers" --pick x 2
check :97 "--screenshot needs a file name" --screenshot
exit "$rc"

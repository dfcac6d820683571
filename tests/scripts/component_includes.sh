#!/usr/bin/env bash
# The component libraries and the programs reach the class library through
# its unit headers and the few unit-folder headers that say they are the
# surface for component writers; every other unit-folder header is its
# unit's own and may change with it.
set -euo pipefail
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd -P)"
cd "$top"
rc=0
while IFS= read -r header; do
  if ! grep -q "Surface for component writers" "classlib/$header"; then
    echo "internal class-library header used outside the class library: classlib/$header" >&2
    grep -rln "#include \"classlib/$header\"" skin kx unicode app disc >&2
    rc=1
  fi
done < <(grep -rhoE '#include "classlib/[a-z]+/[^"]+"' skin kx unicode app disc |
           sed -E 's/#include "classlib\/(.*)"/\1/' | sort -u)
exit "$rc"

#!/usr/bin/env bash
# The product's folders in layers, top first: a folder may include its own headers and those
# of folders on lower rows, never a folder on its own row or above. Prints each include that
# breaks this and exits 1; exits 0 when there is none.
#   scripts/check_layers.sh [REPO]
set -euo pipefail
repo="${1:-$(cd "$(dirname "$0")/.." && pwd)}"

layers=(
  "app"
  "installer versionfile"
  "transfer msgbox"
  "env ini xml res"
  "common"
)

declare -A rank
for row in "${!layers[@]}"; do
  for folder in ${layers[$row]}; do rank[$folder]=$row; done
done

broken=0
for folder in "${!rank[@]}"; do
  while IFS= read -r line; do
    file="${line%%:*}"
    included="${line#*#include \"}"
    included="${included%%/*}"
    [ "$included" = "$folder" ] && continue
    if [ -z "${rank[$included]+set}" ]; then
      echo "$file includes $included/, which is no product folder"
      broken=1
    elif [ "${rank[$included]}" -le "${rank[$folder]}" ]; then
      echo "$file includes $included/, on its own row or above"
      broken=1
    fi
  done < <(cd "$repo" && grep -rHE '^#include "[a-z_]+/' "$folder" || true)
done
exit "$broken"

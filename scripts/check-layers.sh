#!/usr/bin/env bash
# The program's folders are layers, each one built on those before it:
#
#   core  <  client  <  idle  <  ui
#
# and the settings store, settings/, built on core alone: the program reaches it only
# through core's Settings interface.
#
# A file may include its own folder and the folders it is built on, never another, so
# no two folders include each other. The backends (platform/) and the stand-in client
# sit outside the order: only the program's own folders are checked.
#
#   scripts/check-layers.sh    prints each wrong include; exits non-zero if there is one
set -euo pipefail
cd "$(dirname "$0")/.."
declare -A below=(
  [core]=""
  [settings]="core"
  [client]="core"
  [idle]="core client"
  [ui]="core client idle"
)
wrong=0
for layer in core settings client idle ui; do
  for file in "$layer"/*; do
    while IFS= read -r included; do
      folder=${included%%/*}
      [[ $folder == "$layer" || " ${below[$layer]} " == *" $folder "* ]] && continue
      if [[ $folder == platform || $folder == clientsim || $folder == tests ]]; then
        echo "$file includes $included: the program's logic includes no backend or test"
      else
        echo "$file includes $included: $layer/ is built only on: ${below[$layer]:-nothing}"
      fi
      wrong=1
    done < <(sed -n 's/^#include "\([^"]*\)".*/\1/p' "$file")
  done
done
if ((wrong == 0)); then
  echo "layers: every include points down (core < client < idle < ui; settings on core)"
fi
exit "$wrong"

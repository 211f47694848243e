#!/usr/bin/env bash
# The program's folders are layers, each one built on those before it:
#
#   core  <  client  <  idle  <  settings  <  ui
#
# A file may include its own folder and the folders before it, never one after it, so
# no two folders include each other. The backends (platform/) and the stand-in client
# sit outside the order: only the program's own folders are checked.
#
#   scripts/check-layers.sh    prints each wrong include; exits non-zero if there is one
set -euo pipefail
cd "$(dirname "$0")/.."
layers=(core client idle settings ui)
wrong=0
for ((i = 0; i < ${#layers[@]}; i++)); do
  for file in "${layers[i]}"/*; do
    while IFS= read -r included; do
      folder=${included%%/*}
      for ((j = i + 1; j < ${#layers[@]}; j++)); do
        if [[ $folder == "${layers[j]}" ]]; then
          echo "$file includes $included: ${layers[j]}/ is above ${layers[i]}/"
          wrong=1
        fi
      done
      if [[ $folder == platform || $folder == clientsim || $folder == tests ]]; then
        echo "$file includes $included: the program's logic includes no backend or test"
        wrong=1
      fi
    done < <(sed -n 's/^#include "\([^"]*\)".*/\1/p' "$file")
  done
done
if ((wrong == 0)); then echo "layers: every include points down (${layers[*]})"; fi
exit "$wrong"

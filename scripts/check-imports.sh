#!/usr/bin/env bash
# Checks that the shipped programs start on Windows XP: every function an executable
# imports from a system DLL must be on the allow-list, whose entries name the oldest
# Windows that has the function (from Microsoft's documentation), and that Windows must
# be XP or older. A function that only a newer Windows has must be looked up with
# GetProcAddress, with a fallback, and so never appears in the import table.
#
#   check-imports.sh OBJDUMP ALLOW-LIST EXE...
#
# Prints, for each executable, how many functions it imports and what they need; exits
# non-zero when one is missing from the list or needs a Windows newer than XP.
set -euo pipefail

objdump=${1:?usage: check-imports.sh OBJDUMP ALLOW-LIST EXE...}
list=${2:?usage: check-imports.sh OBJDUMP ALLOW-LIST EXE...}
shift 2
(($# > 0)) || { echo "usage: check-imports.sh OBJDUMP ALLOW-LIST EXE..." >&2; exit 2; }

status=0
for exe in "$@"; do
  # "dll function" per import, the DLL name in lower case; an import by ordinal only
  # shows as "#ordinal".
  imports=$("$objdump" -p "$exe" | awk '
    /^\tDLL Name: / { dll = tolower($3); next }
    /^$/ { dll = "" }
    dll != "" && /^\t[0-9a-f]+\t +[0-9]+ / { print dll, ($3 == "" ? "#" $2 : $3) }
    dll != "" && /^\t[0-9a-f]+\t +<none> +[0-9a-f]+/ { print dll, "#" $3 }')
  if [[ -z "$imports" ]]; then
    echo "$(basename "$exe"): no imports found (not a Windows executable?)"
    status=1
    continue
  fi
  if ! awk -v exe="$(basename "$exe")" -v list="$list" '
    BEGIN {
      versions = split("95 NT4 98 ME 2000 XP Vista 7 8 8.1 10 11", order, " ")
      for (i = 1; i <= versions; i++) rank[order[i]] = i
      oldest_allowed = rank["XP"]
      # The allow-list: "dll function windows"; "#" starts a comment.
      while ((getline entry < list) > 0) {
        number++
        sub(/#.*/, "", entry)
        fields = split(entry, f, " ")
        if (fields == 0) continue
        if (fields != 3 || !(f[3] in rank)) {
          print "allow-list line " number " is malformed: " entry; bad = 1; continue
        }
        need[tolower(f[1]) " " f[2]] = f[3]
      }
    }
    {
      key = $1 " " $2
      count++
      dlls[$1] = 1
      if (!(key in need)) { print exe ": " $1 " " $2 " is not on the allow-list"; bad = 1; next }
      windows = need[key]
      if (rank[windows] > oldest_allowed) {
        print exe ": " $1 " " $2 " needs Windows " windows; bad = 1; next
      }
      per[windows]++
    }
    END {
      if (bad) exit 1
      ndll = 0
      for (d in dlls) ndll++
      line = exe ": " count " functions from " ndll " DLLs, all on the list;"
      sep = " "
      for (i = 1; i <= versions; i++) {
        w = order[i]
        if (w in per) { line = line sep per[w] " need Windows " w; sep = ", " }
      }
      print line
    }' <<<"$imports"; then
    status=1
  fi
done
if ((status == 0)); then
  echo "Every import is on the allow-list and present in Windows XP."
fi
exit $status

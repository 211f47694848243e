#!/usr/bin/env bash
# Which Wine the project's scripts and tests use here. There are three, tried in order:
#
#   wine32  Debian 12's Wine with its 32-bit loader (package wine32), wherever the
#           kernel runs 32-bit programs;
#   root    on a kernel that runs none (some virtual machines), the Wine 10 of the
#           Debian 13 folder of scripts/wine-root.sh, whose 64-bit loader runs 32-bit
#           Windows programs itself (WoW64);
#   wine64  where that folder cannot be made either, Debian 12's 64-bit loader alone,
#           which runs only 64-bit programs (the tests then run the 64-bit build).
#
# LOAFIX_WINE_ROOT_ONLY=1 takes the root on any kernel, and fails rather than fall back.
#
#   wine-bed.sh name              print wine32, root or wine64
#   wine-bed.sh describe [EXE...] print the Wine (loader, version, mode) and the exes
#                                 by kind (32-bit or 64-bit)
set -euo pipefail

scripts=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

name() {
  if [[ -n ${LOAFIX_WINE_ROOT_ONLY:-} ]]; then
    if bash "$scripts/wine-root.sh" ready; then
      echo root
      return
    fi
    echo "wine-bed: LOAFIX_WINE_ROOT_ONLY is set but $(bash "$scripts/wine-root.sh" path)" \
      "is not made (bash scripts/wine-root.sh make)" >&2
    return 1
  fi
  if /usr/lib/wine/wine --version >/dev/null 2>&1; then
    echo wine32
  elif bash "$scripts/wine-root.sh" ready; then
    echo root
  else
    echo wine64
  fi
}

# The machine field of a Windows program's PE header: at the offset stored at 0x3c,
# "PE\0\0" and then two bytes, little-endian.
exe_kind() {
  local pe machine
  pe=$(od -An -tu4 -j60 -N4 "$1" 2>/dev/null | tr -d ' ')
  [[ -n $pe ]] || { echo "not found"; return; }
  machine=$(od -An -tx2 -j$((pe + 4)) -N2 "$1" | tr -d ' ')
  case "$machine" in
    014c) echo "32-bit (i386)" ;;
    8664) echo "64-bit (x86-64)" ;;
    *) echo "machine 0x$machine" ;;
  esac
}

describe() {
  local bed
  bed=$(name) || return 1
  case "$bed" in
    wine32)
      echo "Wine: wine32, Debian 12's 32-bit loader /usr/lib/wine/wine," \
        "$(/usr/lib/wine/wine --version)"
      ;;
    root)
      echo "Wine: root, $(bash "$scripts/wine-root.sh" path): Debian 13's 64-bit loader" \
        "/usr/lib/wine/wine64 in WoW64 mode, $(bash "$scripts/wine-root.sh" exec wine --version)"
      ;;
    wine64)
      echo "Wine: wine64, Debian 12's 64-bit loader /usr/lib/wine/wine64 (64-bit programs" \
        "only), $(/usr/lib/wine/wine64 --version)"
      ;;
  esac
  # The programs grouped by kind, one line each.
  local -A by_kind=()
  local exe kind
  for exe in "$@"; do
    kind=$(exe_kind "$exe")
    by_kind[$kind]+=" $(basename "$exe")"
  done
  for kind in "${!by_kind[@]}"; do echo "  exe $kind:${by_kind[$kind]}"; done
}

command=${1:?usage: wine-bed.sh name|describe [EXE...]}
shift
case "$command" in
  name) name ;;
  describe) describe "$@" ;;
  *)
    echo "usage: wine-bed.sh name|describe [EXE...]" >&2
    exit 2
    ;;
esac

#!/usr/bin/env bash
# Wine for 32-bit Windows programs on a kernel that runs no 32-bit Linux programs (some
# virtual machines' kernels have no 32-bit support, and Debian's 32-bit Wine is a
# 32-bit Linux program). Wine 10's 64-bit loader runs 32-bit Windows programs itself, in
# its WoW64 mode, given the 32-bit Windows DLLs; Debian 13 has that Wine. So this keeps a
# small Debian 13 in a folder of its own, with Wine 10 and the 32-bit DLLs of its
# libwine:i386, and runs Wine commands in it, with this machine's /tmp, /dev, /proc,
# /sys, the repository and $HOME seen at their own paths.
#
#   wine-root.sh make            make the folder once (root: debootstrap, about a minute)
#   wine-root.sh ready           exit 0 when it is made and this user can enter it
#   wine-root.sh exec CMD [ARGS...]   run CMD (wine, wineserver, winepath) in it
#
# The folder is /var/cache/loafix/wine-debian13 (LOAFIX_WINE_ROOT chooses another);
# deleting it is safe and it is made again when needed. Nothing is mounted outside a
# command's own private mount namespace: the mounts end with the command's processes.
set -euo pipefail

root=${LOAFIX_WINE_ROOT:-/var/cache/loafix/wine-debian13}
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
suite=trixie
mirror=${LOAFIX_DEBIAN_MIRROR:-http://deb.debian.org/debian}

ready() {
  ((EUID == 0)) && [[ -f "$root/.loafix-ready" ]] && command -v unshare >/dev/null
}

make_root() {
  if ready; then return 0; fi
  if ((EUID != 0)); then
    echo "wine-root: making $root needs root" >&2
    return 1
  fi
  echo "wine-root: making a Debian 13 folder with Wine 10 in $root (once)"
  rm -rf "$root"
  mkdir -p "$root"
  debootstrap --variant=minbase --include=wine64,xauth "$suite" "$root" "$mirror" \
    >"$root.log" 2>&1 || {
    tail -20 "$root.log" >&2
    return 1
  }
  # The 32-bit Windows DLLs are the i386-windows folder of libwine:i386, of the same
  # version as the 64-bit Wine; the package itself is not installed (it would bring a
  # 32-bit Linux userland that this kernel cannot run).
  local version
  version=$(chroot "$root" dpkg-query -W -f='${Version}' libwine)
  chroot "$root" dpkg --add-architecture i386
  chroot "$root" apt-get -qq update >>"$root.log" 2>&1
  chroot "$root" sh -c "cd /tmp && apt-get -qq download libwine:i386=$version" >>"$root.log" 2>&1
  local deb=("$root"/tmp/libwine_*_i386.deb) unpacked=$root/tmp/libwine-i386
  rm -rf "$unpacked"
  dpkg-deb -x "${deb[0]}" "$unpacked"
  cp -a "$unpacked/usr/lib/i386-linux-gnu/wine/i386-windows/." \
    "$root/usr/lib/x86_64-linux-gnu/wine/i386-windows/"
  rm -rf "$unpacked" "${deb[@]}"
  chroot "$root" apt-get -qq clean
  touch "$root/.loafix-ready"
  echo "wine-root: Wine $version ready"
}

# Runs "$@" chrooted into the folder, in a mount namespace of its own (the process
# stays the same through every exec, so a caller's kill or wait reaches Wine itself).
exec_in_root() {
  local tool=$1
  shift
  case "$tool" in
    wine) tool=/usr/lib/wine/wine64 ;;
    wineserver) tool=/usr/lib/wine/wineserver ;;
    winepath) set -- winepath.exe "$@"; tool=/usr/lib/wine/wine64 ;;
  esac
  exec unshare --mount --propagation private -- bash -c '
    root=$1 tool=$2
    shift 2
    for dir in /proc /sys /dev /tmp "$REPO" "$HOME"; do
      [[ -d $dir && $dir != / ]] || continue
      mkdir -p "$root$dir"
      mount --rbind "$dir" "$root$dir"
    done
    exec chroot "$root" /usr/bin/env PATH=/usr/bin:/bin WINELOADER=/usr/lib/wine/wine64 \
      "$tool" "$@"' wine-root "$root" "$tool" "$@"
}

command=${1:?usage: wine-root.sh make|ready|exec ...}
shift
case "$command" in
  make) make_root ;;
  ready) ready ;;
  exec)
    export REPO=$repo
    exec_in_root "$@"
    ;;
  *)
    echo "usage: wine-root.sh make|ready|exec ..." >&2
    exit 2
    ;;
esac

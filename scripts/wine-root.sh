#!/usr/bin/env bash
# Wine for 32-bit Windows programs on a kernel that runs no 32-bit Linux programs (some
# virtual machines' kernels have no 32-bit support, and Debian 12's 32-bit Wine is a
# 32-bit Linux program). Wine 10's 64-bit loader runs 32-bit Windows programs itself, in
# its WoW64 mode, given the 32-bit Windows DLLs; Debian 13 has that Wine. So this keeps a
# small Debian 13 in a folder of its own, made by mmdebstrap, with Wine 10 and the 32-bit
# DLLs of its libwine:i386, and runs Wine commands in it through bubblewrap, with this
# machine's /tmp, /dev, /proc, /sys, the repository and $HOME seen at their own paths.
#
#   wine-root.sh make            make the folder once (a few minutes of downloads)
#   wine-root.sh ready           exit 0 when it is made and bubblewrap can enter it
#   wine-root.sh path            print the folder
#   wine-root.sh exec CMD [ARGS...]   run CMD (wine, wineserver, winepath) in it
#
# The folder is /var/cache/loafix/wine-debian13, or for a user other than root who has
# none there, ~/.cache/loafix/wine-debian13; LOAFIX_WINE_ROOT chooses another. Without
# root, mmdebstrap makes it in a user namespace (which needs the user's lines in
# /etc/subuid and /etc/subgid). Deleting it is safe; it is made again when needed.
set -euo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
suite=trixie
mirror=${LOAFIX_DEBIAN_MIRROR:-http://deb.debian.org/debian}
if [[ -n ${LOAFIX_WINE_ROOT:-} ]]; then
  root=$LOAFIX_WINE_ROOT
elif ((EUID == 0)) || [[ -d /var/cache/loafix/wine-debian13 ]]; then
  root=/var/cache/loafix/wine-debian13
else
  root=${XDG_CACHE_HOME:-$HOME/.cache}/loafix/wine-debian13
fi

ready() {
  [[ -f "$root/.loafix-ready" ]] && command -v bwrap >/dev/null
}

# The 32-bit Windows DLLs are the i386-windows folder of libwine:i386, of the same
# version as the 64-bit Wine; the package itself is not installed (it would bring a
# 32-bit Linux userland that this kernel cannot run). Runs inside the new root.
# shellcheck disable=SC2016
add_i386_dlls='set -e
cd /tmp
apt-get -qq download "libwine:i386=$(dpkg-query -W -f="\${Version}" libwine)"
dpkg-deb -x libwine_*_i386.deb libwine-i386
cp -a libwine-i386/usr/lib/i386-linux-gnu/wine/i386-windows/. \
  /usr/lib/x86_64-linux-gnu/wine/i386-windows/
rm -rf libwine-i386 libwine_*_i386.deb
apt-get -qq clean'

make_root() {
  if ready; then return 0; fi
  if ! command -v mmdebstrap >/dev/null || ! command -v bwrap >/dev/null; then
    echo "wine-root: needs the packages mmdebstrap and bubblewrap" >&2
    return 1
  fi
  echo "wine-root: making a Debian 13 folder with Wine 10 in $root (once)"
  local new=$root.new
  rm -rf "$new"
  mkdir -p "$new"
  local args=(--variant=apt --architectures=amd64,i386 --include=wine64,xauth
    --customize-hook="chroot \"\$1\" sh -c '$add_i386_dlls'" "$suite")
  if ((EUID == 0)); then
    mmdebstrap --mode=root "${args[@]}" "$new" "$mirror" >"$root.log" 2>&1
  else
    # A directory made in a user namespace would belong to the user's subordinate ids;
    # unpacked from the tarball instead, everything in it belongs to the user.
    mmdebstrap --mode=unshare "${args[@]}" - "$mirror" 2>"$root.log" |
      tar -x -C "$new" --no-same-owner --exclude='./dev/*'
  fi || {
    tail -20 "$root.log" >&2
    return 1
  }
  touch "$new/.loafix-ready"
  rm -rf "$root"
  mv "$new" "$root"
  echo "wine-root: $(exec_in_root wine --version) ready, $(du -sh "$root" | cut -f1)"
}

# Runs "$@" in the folder. Its top-level folders are seen read-only on bubblewrap's own
# empty root, where the mount points of this machine's folders can be made without
# writing into the folder (which a user other than root may not). bubblewrap stays the
# parent of the command and ends it when it is itself ended, so a caller's kill or wait
# reaches Wine.
exec_in_root() {
  local tool=$1
  shift
  case "$tool" in
    wine) tool=/usr/lib/wine/wine64 ;;
    wineserver) tool=/usr/lib/wine/wineserver ;;
    winepath) set -- winepath.exe "$@"; tool=/usr/lib/wine/wine64 ;;
  esac
  local mounts=() entry name dir
  for entry in "$root"/*; do
    name=${entry##*/}
    if [[ -L $entry ]]; then
      mounts+=(--symlink "$(readlink "$entry")" "/$name")
    elif [[ -d $entry && ! $name =~ ^(dev|proc|sys|tmp|home|root|run)$ ]]; then
      mounts+=(--ro-bind "$entry" "/$name")
    fi
  done
  for dir in /tmp "$repo" "$HOME"; do
    if [[ -d $dir && $dir != / ]]; then mounts+=(--bind "$dir" "$dir"); fi
  done
  exec bwrap "${mounts[@]}" --dev-bind /dev /dev --bind /proc /proc --ro-bind /sys /sys \
    --die-with-parent --setenv PATH /usr/bin:/bin --setenv WINELOADER /usr/lib/wine/wine64 \
    "$tool" "$@"
}

command=${1:?usage: wine-root.sh make|ready|path|exec ...}
shift
case "$command" in
  make) make_root ;;
  ready) ready ;;
  path) echo "$root" ;;
  exec) exec_in_root "$@" ;;
  *)
    echo "usage: wine-root.sh make|ready|path|exec ..." >&2
    exit 2
    ;;
esac

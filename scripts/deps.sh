#!/usr/bin/env bash
# Installs the Debian packages the given build steps need, when any is missing.
# Sourced by test.sh, bench.sh and run.sh:  ensure_packages build wine [demo]
#
# The shipped programs are 32-bit, so `wine` brings the Wine that scripts/wine-bed.sh
# names for this machine: Debian's 32-bit Wine (wine32, from the i386 architecture,
# added here when missing) wherever the kernel runs 32-bit programs; elsewhere the
# Debian 13 folder of scripts/wine-root.sh, made here once with mmdebstrap and entered
# with bubblewrap (LOAFIX_WINE_ROOT_ONLY=1 uses that folder on any kernel). Where that
# folder cannot be made, the Wine tests run the 64-bit build (test.sh says so).

# Wine through scripts/bin/wine, which runs the one scripts/wine-bed.sh names.
loafix_scripts=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
PATH="$loafix_scripts/bin:$PATH"
export PATH

# True when the kernel runs 32-bit x86 Linux programs: tried with a 93-byte program
# that only exits (an ELF header, one program header, and exit(0) through int 0x80).
kernel_runs_32bit() {
  local probe
  probe=$(mktemp)
  printf '\x7f\x45\x4c\x46\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00\x00\x00\x00\x00\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08\x5d\x00\x00\x00\x5d\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00\x31\xdb\xb8\x01\x00\x00\x00\xcd\x80' >"$probe"
  chmod +x "$probe"
  local status=0
  "$probe" 2>/dev/null || status=1
  rm -f "$probe"
  return $status
}

# True when 32-bit Windows programs run under Wine here.
wine_runs_32bit() {
  local bed
  bed=$(bash "$loafix_scripts/wine-bed.sh" name) && [[ $bed != wine64 ]]
}

ensure_packages() {
  local packages=() make_wine_root=0
  local need
  for need in "$@"; do
    case "$need" in
      build) packages+=(cmake ninja-build g++ libgtest-dev libgmock-dev libbenchmark-dev
                        g++-mingw-w64-i686 g++-mingw-w64-x86-64) ;;
      wine)
        packages+=(wine wine64 xvfb locales)  # locales: the prefixes of other code pages
        if kernel_runs_32bit; then packages+=(wine32:i386); fi
        if [[ -n ${LOAFIX_WINE_ROOT_ONLY:-} ]] || ! kernel_runs_32bit; then
          # uidmap: mmdebstrap without root maps the user's subordinate ids with it.
          packages+=(mmdebstrap bubblewrap uidmap)
          make_wine_root=1
        fi
        ;;
      demo) packages+=(imagemagick x11-apps) ;;
    esac
  done
  local missing=() package
  for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'ok installed'; then
      missing+=("$package")
    fi
  done
  if ((${#missing[@]} > 0)); then install_packages "${missing[@]}" || return 1; fi
  if ((make_wine_root)) && ! bash "$loafix_scripts/wine-root.sh" make; then
    echo "The Debian 13 folder for Wine could not be made here (its log:" \
      "$(bash "$loafix_scripts/wine-root.sh" path).log); the 64-bit build runs instead" >&2
  fi
  return 0
}

install_packages() {
  local missing=("$@")
  echo "Installing: ${missing[*]}"
  local sudo=()
  if ((EUID != 0)); then sudo=(sudo); fi
  if [[ " ${missing[*]} " == *":i386 "* ]] && ! dpkg --print-foreign-architectures | grep -qx i386; then
    "${sudo[@]}" dpkg --add-architecture i386
  fi
  "${sudo[@]}" apt-get update
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y "${missing[@]}"
}

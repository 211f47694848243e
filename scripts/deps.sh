#!/usr/bin/env bash
# Installs the Debian packages the given build steps need, when any is missing.
# Sourced by test.sh, bench.sh and run.sh:  ensure_packages build wine [demo]
ensure_packages() {
  local packages=()
  local need
  for need in "$@"; do
    case "$need" in
      build) packages+=(cmake ninja-build g++ libgtest-dev libgmock-dev libbenchmark-dev
                        g++-mingw-w64-x86-64) ;;
      wine) packages+=(wine wine64 xvfb) ;;
      demo) packages+=(imagemagick x11-apps) ;;
    esac
  done
  local missing=() package
  for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'ok installed'; then
      missing+=("$package")
    fi
  done
  if ((${#missing[@]} == 0)); then return 0; fi
  echo "Installing: ${missing[*]}"
  local sudo=()
  if ((EUID != 0)); then sudo=(sudo); fi
  "${sudo[@]}" apt-get update
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y "${missing[@]}"
}

#!/usr/bin/env bash
# The size of what ships: loafix.exe and clientsim.exe of the 32-bit build (preset
# windows: stripped, size-optimised, unused sections dropped, static runtime), with
# loafix.exe's sections beside it.
#
#   bench/exe_sizes.sh
#
# Exits non-zero when loafix.exe is 300 KB (307,200 bytes) or more.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
ensure_packages build

cmake --preset windows >/dev/null
cmake --build --preset windows --target loafix clientsim >/dev/null
bin=build/windows/bin
limit=$((300 * 1024))

echo "The shipped 32-bit programs:"
for exe in loafix clientsim; do
  bytes=$(stat -c %s "$bin/$exe.exe")
  printf '  %-14s %8d bytes  %6.1f KB\n' "$exe.exe" "$bytes" "$(awk -v b="$bytes" 'BEGIN { print b / 1024 }')"
done
echo "Sections of loafix.exe (code, data, constants, unwind tables, imports, pictures, relocations):"
i686-w64-mingw32-objdump -h "$bin/loafix.exe" | while read -r index name size _; do
  if [[ $index =~ ^[0-9]+$ ]]; then printf '  %-10s %8d bytes\n' "$name" "$((16#$size))"; fi
done
bytes=$(stat -c %s "$bin/loafix.exe")
if ((bytes < limit)); then
  echo "PASS: loafix.exe is under 300 KB"
else
  echo "FAIL: loafix.exe is $(((bytes - limit + 1023) / 1024)) KB over 300 KB"
  exit 1
fi

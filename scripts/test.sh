#!/usr/bin/env bash
# Builds everything and runs every test: the native suite, the same suite under
# AddressSanitizer and UndefinedBehaviorSanitizer, and the Win32 side under Wine.
# Installs what is missing first (Debian). Exits non-zero if anything fails.
set -uo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
ensure_packages build wine || exit 1

jobs=$(nproc 2>/dev/null || echo 2)
started=$SECONDS
declare -a summary=()
status=0

step() {  # step NAME COMMAND...
  local name=$1 begin=$SECONDS
  shift
  echo
  echo "=== $name"
  if "$@"; then
    summary+=("$(printf '  %-34s passed  %4d s' "$name" $((SECONDS - begin)))")
  else
    summary+=("$(printf '  %-34s FAILED  %4d s' "$name" $((SECONDS - begin)))")
    status=1
  fi
}

build() {  # build PRESET [TARGET...]
  local preset=$1
  shift
  cmake --preset "$preset" >/dev/null &&
    cmake --build --preset "$preset" -j "$jobs" ${1:+--target "$@"}
}

# "windows" is the shipped 32-bit build, and its Wine tests run those 32-bit programs
# with the Wine that scripts/wine-bed.sh names: Debian's 32-bit Wine, or, on a kernel
# that runs no 32-bit programs (some virtual machines), the Wine of scripts/wine-root.sh.
# Only where neither can be had do the same tests run the 64-bit build "windows64"
# instead, and the 32-bit programs get the checks that need no Wine.
for preset in native asan; do
  step "build $preset" build "$preset"
done
if wine_runs_32bit; then
  wine_preset=windows
  step "build windows" build windows
else
  wine_preset=windows64
  step "build windows (shipped programs)" build windows loafix clientsim vista_import_probe
  step "build windows64" build windows64
fi
# No test may hang the run: one without a time limit of its own gets 5 minutes.
step "tests native" ctest --preset native -j "$jobs" --timeout 300
step "tests asan (without wine)" ctest --preset asan -LE wine -j "$jobs" --timeout 300
# Says which Wine the next step runs and what kind of programs it gives it.
wine_bed() {  # wine_bed PRESET
  local bed
  bed=$(bash scripts/wine-bed.sh describe build/"$1"/bin/*.exe) ||
    bed="Wine: none"
  echo
  echo "=== $bed"
  bed=${bed#Wine: }
  wine_beds+=("  $1: ${bed//$'\n'/$'\n'  }")
}
declare -a wine_beds=()
# The Win32 tests share one Wine desktop and take turns on it.
if [[ $wine_preset == windows ]]; then
  wine_bed windows
  step "tests windows (32-bit, wine)" ctest --preset windows -j "$jobs" --timeout 300
else
  echo
  echo "=== note: this kernel runs no 32-bit programs, and no Wine for them could be made"
  echo "    here (scripts/wine-root.sh):"
  echo "    the Wine tests run the 64-bit build; the 32-bit programs get the import,"
  echo "    version and release checks"
  step "tests windows (32-bit, no wine)" ctest --preset windows -LE wine -j "$jobs" --timeout 300
  wine_bed windows64
  step "tests windows64 (wine)" ctest --preset windows64 -L wine -j "$jobs" --timeout 300
fi
step "release zip" cmake --workflow --preset release

echo
echo "=== summary"
printf '%s\n' "${summary[@]}"
echo "  Wine tests ran with:"
printf '%s\n' "${wine_beds[@]}"
echo "  total $((SECONDS - started)) s"
if ((status != 0)); then
  echo "SOME STEPS FAILED"
else
  echo "ALL PASSED"
fi
exit $status

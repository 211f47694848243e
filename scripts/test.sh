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

build() {  # build PRESET
  cmake --preset "$1" >/dev/null && cmake --build --preset "$1" -j "$jobs"
}

for preset in native asan windows; do
  step "build $preset" build "$preset"
done
# No test may hang the run: one without a time limit of its own gets 5 minutes.
step "tests native" ctest --preset native -j "$jobs" --timeout 300
step "tests asan (without wine)" ctest --preset asan -LE wine -j "$jobs" --timeout 300
# The Win32 tests share one Wine desktop and take turns on it.
step "tests windows (wine)" ctest --preset windows -j "$jobs" --timeout 300

echo
echo "=== summary"
printf '%s\n' "${summary[@]}"
echo "  total $((SECONDS - started)) s"
if ((status != 0)); then
  echo "SOME STEPS FAILED"
else
  echo "ALL PASSED"
fi
exit $status

#!/usr/bin/env bash
# Runs the benchmarks and prints their figures:
#   - a 10-second Pause in the Win32 build under Wine (CPU of the program and of the
#     wineserver), idle and with a 100 ms timer ticking;
#   - 100,000 ChatSend calls on the simulated desktop (time per call).
#   scripts/bench.sh [pause-seconds] [chatsend-calls]
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
ensure_packages build wine

seconds=${1:-10}
calls=${2:-100000}
# The shipped 32-bit build, or the 64-bit one where Wine cannot run 32-bit programs.
windows=windows
wine_runs_32bit || windows=windows64
for preset in native "$windows"; do
  cmake --preset "$preset" >/dev/null
done
cmake --build --preset native --target chatsend_bench >/dev/null
cmake --build --preset "$windows" --target pause_bench >/dev/null

echo "== ChatSend, simulated desktop (native build)"
build/native/bench/chatsend_bench "$calls"

echo "== Pause($seconds), Win32 build under Wine"
env_dir=build/bench-wine
bash scripts/wine-env.sh up "$env_dir"
trap 'bash scripts/wine-env.sh down "$env_dir"' EXIT
bash scripts/wine-env.sh run "$env_dir" "build/$windows/bin/pause_bench.exe" "$seconds" \
  "$(cat "$env_dir/wineserver.pid" 2>/dev/null || echo 0)" "$(getconf CLK_TCK)"

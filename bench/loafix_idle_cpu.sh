#!/usr/bin/env bash
# The cost of idling: loafix.exe under Wine, idling with the poster inside its wait
# (interval set to an hour, so no line is due), measured over a minute, in three
# cases: idle on chosen once; chosen again inside the poster's wait (which re-arms the
# poster's 1 ms timer inside its own running tick); and with auto idle and auto back on
# (their check looks at the input clock every two seconds).
#
#   bench/loafix_idle_cpu.sh [SECONDS]     (default 60)
#
# Prints the CPU time loafix.exe used (and the wineserver's share over the same
# minute), its memory (resident and anonymous resident pages of the Wine process;
# private bytes as the program itself would see them), and the size of loafix.exe.
# Exits non-zero when loafix.exe used 1 % of one core or more in either case.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
source scripts/demo-common.sh
ensure_packages build wine

seconds=${1:-60}
bin=$(build_windows_programs)
env_dir=$PWD/build/bench-idle/wine
bash scripts/wine-env.sh up "$env_dir" >/dev/null
trap 'bash scripts/wine-env.sh down "$env_dir"' EXIT
eval "$(bash scripts/wine-env.sh env "$env_dir")"
shots=$WINEPREFIX/drive_c/shots
rm -rf "$shots" && mkdir -p "$shots"
result=$PWD/build/bench-idle/result.txt
: >"$result"
ticks=$(getconf CLK_TCK)

cpu_ticks() {  # PID: user + system time of the whole process, in clock ticks
  awk '{ print $14 + $15 }' "/proc/$1/stat"
}

measure() {  # NAME AREA
  [[ "$1" == measure ]] || return 0
  local pid server before after server_before server_after
  pid=$(wine_process_id loafix.exe)
  server=$(cat "$env_dir/wineserver.pid" 2>/dev/null || true)
  if [[ -z "$pid" ]]; then
    echo "loafix.exe not found" >>"$result"
    return
  fi
  before=$(cpu_ticks "$pid")
  server_before=$([[ -n "$server" ]] && cpu_ticks "$server" || echo 0)
  sleep "$seconds"
  after=$(cpu_ticks "$pid")
  server_after=$([[ -n "$server" ]] && cpu_ticks "$server" || echo 0)
  {
    awk -v d=$((after - before)) -v s="$seconds" -v t="$ticks" 'BEGIN {
      printf "cpu %.3f %.3f\n", d / t, 100 * d / t / s }'
    awk -v d=$((server_after - server_before)) -v s="$seconds" -v t="$ticks" 'BEGIN {
      printf "server %.3f %.3f\n", d / t, 100 * d / t / s }'
    grep -E '^(VmRSS|RssAnon):' "/proc/$pid/status"
  } >>"$result"
}

status=0
run_case() {  # TITLE DRIVER-OPTIONS...
  local title=$1
  shift
  : >"$result"
  rm -f "$shots"/*
  echo "Idling loafix.exe for ${seconds} s under Wine ($title)..."
  local out=$PWD/build/bench-idle/driver.txt
  wine "$bin/loafix_driver.exe" bench-idle --shots 'C:\shots' "$@" >"$out" 2>/dev/null &
  local driver=$!
  serve_checkpoints "$shots" "$driver" measure
  wait "$driver" || true

  local cpu_seconds cpu_percent server_seconds server_percent
  read -r _ cpu_seconds cpu_percent < <(grep '^cpu ' "$result" || echo "cpu 0 100")
  read -r _ server_seconds server_percent < <(grep '^server ' "$result" || echo "server 0 0")
  echo
  echo "loafix.exe idling, poster waiting, $title, ${seconds} s:"
  printf '  CPU of loafix.exe      %8.3f s  = %6.3f %% of one core\n' "$cpu_seconds" "$cpu_percent"
  printf '  CPU of the wineserver  %8.3f s  = %6.3f %% (serves every program of the prefix)\n' \
    "$server_seconds" "$server_percent"
  grep -E '^(VmRSS|RssAnon):' "$result" | sed 's/^/  /'
  grep -E '^memory' "$out" | sed 's/^/  /'
  if awk -v p="$cpu_percent" 'BEGIN { exit !(p < 1) }'; then
    echo "  PASS: under 1 % of one core"
  else
    echo "  FAIL: 1 % of one core or more"
    status=1
  fi
  echo
}

run_case "idle on chosen once"
run_case "idle on chosen again inside the wait" --idle-on-again
run_case "auto idle and auto back on" --auto-idle
printf 'loafix.exe %d bytes\n' "$(stat -c %s "$bin/loafix.exe")"
exit $status

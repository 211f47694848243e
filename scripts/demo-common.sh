# Shared by run.sh, demo-shots.sh and bench/loafix_idle_cpu.sh (sourced, not run):
# building what the demo needs, and serving the driver's checkpoints.
#
# The driver (loafix_driver.exe demo|idle --shots 'C:\shots') stops at each moment
# worth a picture or a measurement: it creates C:\shots\NAME.ready, holding the screen
# rectangle of what is worth looking at ("left top width height"), and waits for
# C:\shots\NAME.done. serve_checkpoints answers each one by calling a handler.

# Builds loafix.exe, clientsim.exe and the driver with the windows preset, the shipped
# 32-bit build (windows64 where Wine cannot run 32-bit programs; or in
# LOAFIX_BUILD_DIR, with the same settings); prints the folder that holds them.
# Needs deps.sh sourced first.
build_windows_programs() {
  local dir=${LOAFIX_BUILD_DIR:-} preset=windows toolchain=cmake/mingw-w64-i686.cmake
  if ! wine_runs_32bit; then
    preset=windows64
    toolchain=cmake/mingw-w64-x86_64.cmake
  fi
  if [[ -z "$dir" ]]; then
    cmake --preset "$preset" >/dev/null
    dir=$PWD/build/$preset
  else
    if [[ ! -f "$dir/CMakeCache.txt" ]]; then
      cmake -S . -B "$dir" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
        -DCMAKE_BUILD_TYPE=MinSizeRel >/dev/null
    fi
  fi
  cmake --build "$dir" --target loafix clientsim loafix_driver >&2
  (cd "$dir/bin" && pwd)
}

# serve_checkpoints SHOTS_DIR PID HANDLER
# Until process PID ends: for every NAME.ready in SHOTS_DIR, runs
# `HANDLER NAME "left top width height"`, then creates NAME.done.
serve_checkpoints() {
  local dir=$1 pid=$2 handler=$3 ready name
  while kill -0 "$pid" 2>/dev/null; do
    for ready in "$dir"/*.ready; do
      [[ -e "$ready" ]] || continue
      name=$(basename "$ready" .ready)
      [[ -e "$dir/$name.done" ]] && continue
      "$handler" "$name" "$(cat "$ready" 2>/dev/null)"
      : >"$dir/$name.done"
      # The driver takes both files away once it has seen the answer.
      local i=0
      while [[ -e "$ready" ]] && ((i++ < 100)); do sleep 0.05; done
    done
    sleep 0.05
  done
}

# The Linux process id of a Windows program of this Wine prefix, by its file name;
# empty if it is not running.
wine_process_id() {
  local exe=$1 proc
  for proc in /proc/[0-9]*; do
    # A process may end while we look: its files are gone then.
    if tr '\0' '\n' 2>/dev/null <"$proc/cmdline" | head -n1 | grep -qiF "$exe" &&
      tr '\0' '\n' 2>/dev/null <"$proc/environ" | grep -qx "WINEPREFIX=$WINEPREFIX"; then
      echo "${proc#/proc/}"
      return
    fi
  done
}

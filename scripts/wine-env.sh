#!/usr/bin/env bash
# A private Wine world for tests, benchmarks and the demo: a fresh prefix, a
# persistent wineserver and an Xvfb display of its own, so nothing touches the user's
# ~/.wine or screen.
#
#   wine-env.sh up   DIR [LOCALE]   create DIR/prefix, start Xvfb and wineserver; Wine's
#                                   ANSI code page follows LOCALE (default C.UTF-8: 1252;
#                                   ru_RU.UTF-8: 1251, ja_JP.UTF-8: 932, hi_IN.UTF-8: 65001),
#                                   generated first when the system lacks it
#   wine-env.sh run  DIR PROGRAM [ARGS...]   run a Windows program in it
#   wine-env.sh down DIR            stop the wineserver (and every Wine process) and Xvfb
#   wine-env.sh env  DIR            print the environment, for `eval`
#
# Set LOAFIX_DISPLAY to use an existing X display instead of a private Xvfb.
set -euo pipefail

# Wine through scripts/bin/wine, which runs the one scripts/wine-bed.sh names.
PATH="$(cd "$(dirname "$0")" && pwd)/bin:$PATH"

command=${1:?usage: wine-env.sh up|run|down|env DIR ...}
dir=${2:?usage: wine-env.sh up|run|down|env DIR ...}
shift 2
mkdir -p "$dir"
dir=$(cd "$dir" && pwd)

wine_environment() {
  # Wine takes its ANSI code page from the locale of its processes (LC_ALL, LC_CTYPE,
  # LANG): one for the whole prefix, chosen at `up`.
  unset LC_ALL LC_CTYPE
  LANG=C.UTF-8            # Wine's ANSI code page is then 1252
  if [[ -f "$dir/locale" ]]; then LANG=$(cat "$dir/locale"); fi
  export LANG
  # A locale generated for this prefix alone (without root).
  if [[ -d "$dir/locales" ]]; then export LOCPATH="$dir/locales"; fi
  export WINEPREFIX="$dir/prefix"
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml="   # no Mono or Gecko installer dialogs
  if [[ -f "$dir/display" ]]; then
    DISPLAY=$(cat "$dir/display")
    export DISPLAY
  fi
}

# Starts Xvfb on a display number nobody uses and records it.
start_xvfb() {
  if [[ -n "${LOAFIX_DISPLAY:-}" ]]; then
    echo "$LOAFIX_DISPLAY" >"$dir/display"
    return
  fi
  rm -f "$dir/display.fd"
  # -displayfd: Xvfb picks a free number itself and writes it once it accepts clients.
  # setsid and the redirections detach it from the caller (ctest waits for every
  # process that holds its output pipes).
  setsid Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset \
    3>"$dir/display.fd" </dev/null >"$dir/xvfb.log" 2>&1 &
  # setsid runs Xvfb in this very process (a background job of a script is no group
  # leader), so $! is the server.
  echo $! >"$dir/xvfb.pid"
  local i
  for ((i = 0; i < 200; i++)); do
    if [[ -s "$dir/display.fd" ]]; then break; fi
    sleep 0.05
  done
  local number
  number=$(tr -dc '0-9' <"$dir/display.fd")
  if [[ -z "$number" ]]; then
    echo "wine-env: Xvfb did not start:" >&2
    cat "$dir/xvfb.log" >&2
    exit 1
  fi
  echo ":$number" >"$dir/display"
}

# Makes the locale $1 (NAME.UTF-8) available: the system's when it has it, else
# generated into the system (as root, once for every later run) or into DIR/locales.
ensure_locale() {
  local want=$1 name=${1%%.*}
  rm -rf "$dir/locales"
  case "$want" in C | C.UTF-8 | POSIX) return 0 ;; esac
  # Wine from the Debian 13 folder (see scripts/bin/wine) reads that system's locales,
  # not these: it gets one of its own through LOCPATH.
  local private=0
  if [[ -n ${LOAFIX_WINE_ROOT_ONLY:-} ]] || ! /usr/lib/wine/wine --version >/dev/null 2>&1; then
    private=1
  fi
  if ((!private)) && locale -a 2>/dev/null | grep -qix "${name}.utf-\?8"; then return 0; fi
  if ! command -v localedef >/dev/null; then
    echo "wine-env: locale $want is missing and localedef is not installed (package locales)" >&2
    return 1
  fi
  if ((!private && EUID == 0)) && flock /tmp/loafix-localedef.lock localedef -i "$name" -f UTF-8 "$want"; then
    return 0
  fi
  mkdir -p "$dir/locales"
  localedef -i "$name" -f UTF-8 "$dir/locales/$want"
}

stop_xvfb() {
  local pid
  pid=$(cat "$dir/xvfb.pid" 2>/dev/null || true)
  # Only if that process is still our Xvfb (the number may have been reused).
  if [[ -n "$pid" && "$(cat "/proc/$pid/comm" 2>/dev/null)" == Xvfb ]]; then
    kill "$pid" 2>/dev/null || true
  fi
  rm -f "$dir/xvfb.pid" "$dir/display" "$dir/display.fd"
}

case "$command" in
  up)
    # A previous run that was interrupted may have left its processes behind.
    if [[ -d "$dir/prefix" ]]; then
      (wine_environment; wineserver -k >/dev/null 2>&1 || true)
    fi
    stop_xvfb
    rm -rf "$dir/prefix"
    mkdir -p "$dir/prefix"
    locale_name=${1:-C.UTF-8}
    ensure_locale "$locale_name"
    echo "$locale_name" >"$dir/locale"
    start_xvfb
    wine_environment
    started=$(date +%s%N)
    # Persistent: the Wine services start once for all the programs of a run.
    wineserver -p </dev/null >"$dir/wineserver.log" 2>&1
    # The first program in an empty prefix creates it (the loader runs wineboot and
    # waits for it). An explicit `wineboot -i` on top of that would start a second set
    # of Wine services, after which the COM service fails and every program's first
    # window waits 3 to 10 s for the desktop.
    # Managed=N: without a window manager, Wine otherwise waits about 2 s on each
    # window closed by a posted message.
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >"$dir/wineboot.log" 2>&1
    # The server's process, for benchmarks that count its CPU time.
    for proc in /proc/[0-9]*; do
      if [[ "$(cat "$proc/comm" 2>/dev/null)" == wineserver* ]] &&
        tr '\0' '\n' <"$proc/environ" 2>/dev/null | grep -qx "WINEPREFIX=$WINEPREFIX"; then
        echo "${proc#/proc/}" >"$dir/wineserver.pid"
      fi
    done
    echo "wine-env: prefix $WINEPREFIX, display $DISPLAY," \
      "ready in $((($(date +%s%N) - started) / 1000000)) ms"
    ;;
  run)
    program=${1:?usage: wine-env.sh run DIR PROGRAM [ARGS...]}
    shift
    wine_environment
    if [[ ! -d "$WINEPREFIX" ]]; then
      echo "wine-env: no prefix in $dir; run 'wine-env.sh up $dir' first" >&2
      exit 2
    fi
    # Output goes through a file: a Wine process started by the program could
    # otherwise keep the caller's pipes open after the program has ended.
    out=$(mktemp "$dir/run.XXXXXX")
    show_output() {
      grep -v -e '^it looks like wine32 is missing' -e '^multiarch needs to be enabled' \
        -e '^execute "dpkg --add-architecture' -e '^apt-get install wine32' "$out" || true
      rm -f "$out"
    }
    # Stopped from outside (a time limit): end the program, still show what it said.
    trap 'kill "$pid" 2>/dev/null; show_output; exit 124' TERM INT
    wine "$program" "$@" </dev/null >"$out" 2>&1 &
    pid=$!
    set +e
    wait "$pid"
    status=$?
    set -e
    show_output
    exit $status
    ;;
  down)
    wine_environment
    wineserver -k >/dev/null 2>&1 || true
    stop_xvfb
    ;;
  env)
    wine_environment
    echo "export LANG=$LANG ${LOCPATH:+LOCPATH='$LOCPATH' }WINEPREFIX='$WINEPREFIX' WINEDEBUG=$WINEDEBUG WINEDLLOVERRIDES='$WINEDLLOVERRIDES' DISPLAY='${DISPLAY:-}' PATH='$PATH'; unset LC_ALL LC_CTYPE"
    ;;
  *)
    echo "usage: wine-env.sh up|run|down|env DIR ..." >&2
    exit 2
    ;;
esac

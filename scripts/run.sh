#!/usr/bin/env bash
# Runs loafix: installs what is missing (Debian, as root or with sudo), builds
# loafix.exe and the stand-in client clientsim.exe, and starts both under Wine.
#
#   With a display ($DISPLAY set): both programs open on your desktop, in the Wine
#   prefix ~/.local/share/loafix-wine/prefix (made on first use, kept afterwards;
#   LOAFIX_WINEPREFIX chooses another). Click the splash to start; the strip's left end
#   opens the menu, its right end quits. The client's log goes to
#   ~/.local/share/loafix-wine/clientsim.log. The client closes when loafix ends.
#
#   Without a display: a short demo on a private Xvfb screen. A driver clicks the
#   splash, sets a 5-second interval, switches idling on, brags, opens the menu and
#   switches idling off; the room's transcript is printed and the screen, with the
#   strip, the open menu and the room, is saved to build/demo/loafix-demo.png.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
source scripts/demo-common.sh
ensure_packages build wine demo

bin=$(build_windows_programs)

# Wine's ANSI code page follows the locale: English keeps it at Windows-1252, the
# code page of the chat lines.
unset LC_ALL
export LANG=C.UTF-8
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="   # no Mono or Gecko installer dialogs

if [[ -n "${DISPLAY:-}" ]]; then
  home=${XDG_DATA_HOME:-$HOME/.local/share}/loafix-wine
  export WINEPREFIX=${LOAFIX_WINEPREFIX:-$home/prefix}
  mkdir -p "$WINEPREFIX"
  if [[ ! -f "$WINEPREFIX/system.reg" ]]; then
    echo "Preparing the Wine prefix $WINEPREFIX (once)..."
    # The first Wine command creates the prefix; an explicit `wineboot -i` would start a
    # second set of Wine services and slow every first window down by seconds.
    wine reg query 'HKCU\Software\Wine' >/dev/null 2>&1 || true
  fi
  log=$home/clientsim.log
  : >"$log"
  wine "$bin/clientsim.exe" --log "$(winepath -w "$log" 2>/dev/null)" >/dev/null 2>&1 &
  client=$!
  trap 'kill "$client" 2>/dev/null || true' EXIT
  # The client first, as its user would have it: then loafix's windows come up on top.
  for ((i = 0; i < 600; i++)); do
    if grep -q '^room open' "$log" 2>/dev/null || ! kill -0 "$client" 2>/dev/null; then break; fi
    sleep 0.05
  done
  echo "clientsim.exe is up (log: $log). Starting loafix.exe: click its splash to begin."
  wine "$bin/loafix.exe" >/dev/null 2>&1 || true
  echo "loafix.exe has ended; closing the client."
  exit 0
fi

# ---- no display: the demo on a private screen ----
out_dir=$PWD/build/demo
mkdir -p "$out_dir"
env_dir=$out_dir/wine
bash scripts/wine-env.sh up "$env_dir" >/dev/null
trap 'bash scripts/wine-env.sh down "$env_dir"' EXIT
eval "$(bash scripts/wine-env.sh env "$env_dir")"
shots=$WINEPREFIX/drive_c/shots
rm -rf "$shots" && mkdir -p "$shots"
picture=$out_dir/loafix-demo.png
rm -f "$picture"

take_picture() {  # NAME AREA
  if [[ "$1" == menu ]]; then
    import -display "$DISPLAY" -window root "$picture"
  fi
}

echo "No display: running the demo on a private screen ($DISPLAY)."
wine "$bin/loafix_driver.exe" demo --shots 'C:\shots' --transcript 'C:\shots\transcript.txt' \
  2> >(grep -v -e 'wine32 is missing' -e 'multiarch' -e 'dpkg --add-arch' -e 'wine32:i386' >&2) &
driver=$!
serve_checkpoints "$shots" "$driver" take_picture
status=0
wait "$driver" || status=$?
if [[ -f "$picture" ]]; then
  echo
  echo "The screen with the strip, the open menu and the room: $picture"
fi
exit $status

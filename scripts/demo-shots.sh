#!/usr/bin/env bash
# Makes the pictures in docs/ from the demo: the demo session of scripts/run.sh on a
# private Xvfb screen, with the link-site and feedback windows opened on the way, and a
# picture taken at each stop.
#
#   docs/desktop.png    the whole screen: strip, open menu and the client's chat room
#   docs/splash.png     the splash window the program starts with
#   docs/strip.png      the strip after start-up (enlarged 3 times, pixels kept sharp)
#   docs/menu.png       the command menu open at "idle opts.", with its check marks
#   docs/linksite.png   the link-site window (enlarged 2 times)
#   docs/feedback.png   the feedback window (enlarged 2 times)
#   docs/room.png       the client with the lines loafix posted
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
source scripts/demo-common.sh
ensure_packages build wine demo

bin=$(build_windows_programs)
docs=$PWD/docs
mkdir -p "$docs"
env_dir=$PWD/build/demo-shots/wine
bash scripts/wine-env.sh up "$env_dir" >/dev/null
trap 'bash scripts/wine-env.sh down "$env_dir"' EXIT
eval "$(bash scripts/wine-env.sh env "$env_dir")"
shots=$WINEPREFIX/drive_c/shots
rm -rf "$shots" && mkdir -p "$shots"
screen=$PWD/build/demo-shots/screen.png

# crop AREA [SCALE%] OUT: the area ("left top width height") of the last screen.
crop() {
  local area=$1 scale=$2 out=$3 left top width height
  read -r left top width height <<<"$area"
  convert "$screen" -crop "${width}x${height}+${left}+${top}" +repage \
    -filter point -resize "$scale" -strip "$out"
}

take_picture() {  # NAME AREA
  local name=$1 area=$2
  import -display "$DISPLAY" -window root "$screen"
  case "$name" in
    splash) crop "$area" 100% "$docs/splash.png" ;;
    strip) crop "$area" 300% "$docs/strip.png" ;;
    menu)
      # The menu with a margin of desktop around it, and the whole screen.
      local left top width height
      read -r left top width height <<<"$area"
      crop "$left $top $((width + 12)) $((height + 12))" 100% "$docs/menu.png"
      convert "$screen" -crop 1000x680+0+0 +repage -strip "$docs/desktop.png"
      ;;
    linksite) crop "$area" 200% "$docs/linksite.png" ;;
    feedback) crop "$area" 200% "$docs/feedback.png" ;;
    room) crop "$area" 100% "$docs/room.png" ;;
  esac
  echo "  picture: $name ($area)"
}

wine "$bin/loafix_driver.exe" demo --tour --shots 'C:\shots' \
  2> >(grep -v -e 'wine32 is missing' -e 'multiarch' -e 'dpkg --add-arch' -e 'wine32:i386' >&2) &
driver=$!
serve_checkpoints "$shots" "$driver" take_picture
status=0
wait "$driver" || status=$?
ls -l "$docs"/*.png
exit $status

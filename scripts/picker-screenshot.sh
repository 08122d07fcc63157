#!/usr/bin/env bash
# Builds Huesplinter (Release), opens the screen picker on a virtual 96-dpi screen over the main
# window, zooms in, switches on the grid and the colour hint, and saves the picker with its hint
# to docs/screen-picker.png. Then picks the centre colour and closes.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

bash scripts/x-tools.sh xvfb-run xdotool import
bash scripts/deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DHUESPLINTER_TESTS=OFF \
  -DHUESPLINTER_BENCH=OFF >/dev/null
cmake --build build/release --target huesplinter

mkdir -p docs
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

export ROOT="$root" SCRATCH="$scratch"
xvfb-run -a -s "-screen 0 1280x900x24 -dpi 96" bash -c '
  set -euo pipefail
  export XDG_CONFIG_HOME="$SCRATCH/config" XDG_DATA_HOME="$SCRATCH/data"
  export HUESPLINTER_CONFIG_DIR="$SCRATCH/config" QT_QPA_PLATFORM=xcb
  "$ROOT/build/release/huesplinter" &
  pid=$!
  win=$(timeout 60 xdotool search --sync --onlyvisible --pid "$pid" | head -n 1)
  [ -n "$win" ] || { echo "the main window did not appear" >&2; kill "$pid" 2>/dev/null; exit 1; }
  sleep 2
  geo=$(xwininfo -id "$win" | awk "/Width:/{w=\$2} /Height:/{h=\$2} END{print w, h}")
  read -r w h <<<"$geo"
  # "Pick on Screen" is the last control of the tune panel right of the palette.
  xdotool mousemove --window "$win" $(( w - 58 )) 259 click 1
  sleep 0.8
  # Over the palette cross of the start colour.
  px=187; py=209
  xdotool mousemove --window "$win" "$px" "$py"
  sleep 0.4
  for _ in 1 2 3 4; do xdotool click 4; sleep 0.1; done
  xdotool key g; sleep 0.2; xdotool key c; sleep 0.6
  import -window root -crop 280x190+$(( px - 76 - 110 ))+$(( py - 76 - 18 )) +repage \
    "$ROOT/docs/screen-picker.png"
  echo "saved $ROOT/docs/screen-picker.png"
  xdotool key Return
  sleep 0.5
  kill "$pid"
'

#!/usr/bin/env bash
# Builds Huesplinter (Release), starts it on a virtual 96-dpi screen and saves a picture of the
# main window at its design size to docs/main-window.png.
#
#   bash scripts/screenshot.sh          # docs/main-window.png
#   bash scripts/screenshot.sh --all    # also a slider drag, a typed value and a resized window,
#                                       # saved next to it in build/screenshots/
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

bash scripts/x-tools.sh xvfb-run import xdotool

bash scripts/deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DHUESPLINTER_TESTS=OFF \
  -DHUESPLINTER_BENCH=OFF >/dev/null
cmake --build build/release --target huesplinter

mkdir -p docs build/screenshots
# Settings and data of this run stay in a throw-away folder.
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

export ROOT="$root" SCRATCH="$scratch" ALL="${1:-}"
xvfb-run -a -s "-screen 0 1280x900x24 -dpi 96" bash -c '
  set -euo pipefail
  export XDG_CONFIG_HOME="$SCRATCH/config" XDG_DATA_HOME="$SCRATCH/data"
  export HUESPLINTER_CONFIG_DIR="$SCRATCH/config" QT_QPA_PLATFORM=xcb
  "$ROOT/build/release/huesplinter" &
  pid=$!
  win=$(timeout 60 xdotool search --sync --onlyvisible --pid "$pid" | head -n 1)
  [ -n "$win" ] || { echo "the main window did not appear" >&2; kill "$pid" 2>/dev/null; exit 1; }
  # The caption shows the palette build time for one second, then the colour count.
  sleep 2.5
  shot() { import -window "$win" "$1"; echo "saved $1"; }
  shot "$ROOT/docs/main-window.png"
  if [ "$ALL" = "--all" ]; then
    out="$ROOT/build/screenshots"
    geo=$(xwininfo -id "$win" | awk "/Width:/{w=\$2} /Height:/{h=\$2} END{print w, h}")
    read -r w h <<<"$geo"
    # The hue slider is the first of the six in the tune panel right of the palette.
    x=$(( w - 102 )); y0=140; y1=230
    xdotool mousemove --window "$win" "$x" "$y0" mousedown 1
    for y in $(seq "$y0" 5 "$y1"); do xdotool mousemove --window "$win" "$x" "$y"; sleep 0.03; done
    xdotool mouseup 1
    sleep 1.5; shot "$out/after-slider-drag.png"
    # The value field sits under the order buttons.
    xdotool mousemove --window "$win" $(( w - 60 )) 42 click 1
    xdotool key ctrl+a type "#FFAA77"
    sleep 1.5; shot "$out/after-typing.png"
    xdotool windowsize "$win" 900 520
    sleep 2.5; shot "$out/resized.png"
  fi
  kill "$pid"
'

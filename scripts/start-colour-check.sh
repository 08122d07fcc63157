#!/usr/bin/env bash
# Manual check, not part of CI: starts Huesplinter fresh N times (default 50) on a virtual screen
# with a small window manager (openbox), the way a window manager maps the window late, and
# checks that every start shows the start colour 0-116-0 in the value panel row and in the
# current-colour tile of the tune panel.
#
#   bash scripts/start-colour-check.sh [STARTS]
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
starts=${1:-50}

bash scripts/x-tools.sh xvfb-run import xdotool openbox

bash scripts/deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DHUESPLINTER_TESTS=OFF \
  -DHUESPLINTER_BENCH=OFF >/dev/null
cmake --build build/release --target huesplinter

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
export ROOT="$root" SCRATCH="$scratch" STARTS="$starts"
xvfb-run -a -s "-screen 0 1280x900x24 -dpi 96" bash -c '
  set -euo pipefail
  openbox >/dev/null 2>&1 &
  wm=$!
  sleep 1
  export QT_QPA_PLATFORM=xcb
  # The colour of one pixel of a window picture, as "r-g-b".
  pixel() { convert "$1" -format "%[fx:int(255*p{$2,$3}.r)]-%[fx:int(255*p{$2,$3}.g)]-%[fx:int(255*p{$2,$3}.b)]" info:; }
  good=0
  for i in $(seq 1 "$STARTS"); do
    run="$SCRATCH/run$i"
    mkdir -p "$run"
    XDG_CONFIG_HOME="$run/config" XDG_DATA_HOME="$run/data" HUESPLINTER_CONFIG_DIR="$run/config" \
      "$ROOT/build/release/huesplinter" >/dev/null 2>&1 &
    pid=$!
    win=$(timeout 30 xdotool search --sync --onlyvisible --pid "$pid" | head -n 1 || true)
    if [ -z "$win" ]; then echo "start $i: no window"; kill "$pid" 2>/dev/null || true; continue; fi
    sleep 1.5
    shot="$run/window.png"
    import -window "$win" "$shot"
    read -r w h <<<"$(identify -format "%w %h" "$shot")"
    # 96 dpi: the value panel row is 29 pixels high above the 24-pixel slot row; the RGB panel
    # starts at the left edge. The current-colour tile sits 79 to 99 pixels from the top of the
    # 115-pixel tune panel, 5 pixels in.
    row=$(pixel "$shot" 8 $(( h - 24 - 15 )))
    tile=$(pixel "$shot" $(( w - 115 + 9 )) 89)
    if [ "$row" = "0-116-0" ] && [ "$tile" = "0-116-0" ]; then
      good=$(( good + 1 ))
    else
      echo "start $i: value panel $row, tile $tile"
      cp "$shot" "$ROOT/build/start-$i.png"
    fi
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  done
  kill "$wm" 2>/dev/null || true
  echo "$good of $STARTS starts showed 0-116-0"
  [ "$good" -eq "$STARTS" ]
'

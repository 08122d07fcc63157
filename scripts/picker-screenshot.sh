#!/usr/bin/env bash
# Builds Huesplinter (Release), opens the screen picker with Ctrl+P on a virtual 96-dpi screen over
# the main window's palette, zooms in, switches on the grid and the colour hint, and saves the picker with its hint
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
  # Over the palette cross of the start colour, then Ctrl+P as a user opens the picker.
  px=187; py=209
  xdotool windowfocus --sync "$win" || true
  xdotool mousemove --window "$win" "$px" "$py"
  sleep 0.4
  xdotool key ctrl+p
  sleep 0.8
  for _ in 1 2 3 4; do xdotool click 4; sleep 0.1; done
  xdotool key g; sleep 0.2; xdotool key c; sleep 0.8
  # The picture is what the picker and its colour hint cover: every visible window of the
  # program but the main one, with a small margin.
  box=$(for w in $(xdotool search --all --onlyvisible --pid "$pid"); do
      [ "$w" = "$win" ] && continue
      xwininfo -id "$w" | awk "/Absolute upper-left X:/{x=\$4} /Absolute upper-left Y:/{y=\$4}
        /Width:/{w=\$2} /Height:/{h=\$2} END{print x, y, x + w, y + h}"
    done | awk "NR == 1 || \$1 < l { l = \$1 } NR == 1 || \$2 < t { t = \$2 }
      NR == 1 || \$3 > r { r = \$3 } NR == 1 || \$4 > b { b = \$4 }
      END { if (NR) { l -= 4; t -= 4; if (l < 0) l = 0; if (t < 0) t = 0
        printf \"%dx%d+%d+%d\", r - l + 8, b - t + 8, l, t } }")
  [ -n "$box" ] || { echo "the picker did not open" >&2; kill "$pid" 2>/dev/null; exit 1; }
  import -window root -crop "$box" +repage "$ROOT/docs/screen-picker.png"
  echo "saved $ROOT/docs/screen-picker.png"
  xdotool key Return
  sleep 0.5
  kill "$pid"
'

#!/usr/bin/env bash
# Shows the Windows build as Windows shows it: under wine64 with Qt's windows plugin, in a Wine
# desktop of its own on a virtual 96-dpi screen (Wine draws the title bars and the desktop, as
# Windows does), starting as on the first run, and saves into docs/:
#
#   windows-main-window.png      the main window
#   windows-pick-on-screen.png   the screen picker over the desktop painted #3A7BC8 (58 123 200),
#                                read through GDI, with the colour under the pointer
#   windows-picked.png           the main window after the click that picked it
#   windows-sample-window.png    the sample window beside the main window
#   windows-settings-dialog.png  the settings dialog ("S")
#   windows-about-window.png     the about window ("i")
#
#   bash scripts/windows-screenshots.sh
#
# Builds huesplinter.exe first (scripts/windows.sh --program); fails when no toolchain is there.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

bash scripts/x-tools.sh xvfb-run import convert xdotool xwininfo
bash scripts/windows.sh --program
build=$root/build/windows
[ -f "$build/huesplinter.exe" ] || { echo "windows-screenshots.sh: no $build/huesplinter.exe" >&2; exit 1; }

# The DLLs the program loads, as scripts/windows.sh finds them.
cache=${HUESPLINTER_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/huesplinter}
winepath=
for dir in "$cache/qt6-mingw/bin" /usr/lib/gcc/x86_64-w64-mingw32/12-posix /usr/x86_64-w64-mingw32/lib; do
  winepath+="Z:${dir//\//\\};"
done
export WINEPATH=$winepath WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset QT_QPA_PLATFORM WINEQT_QPA_PLATFORM WINEQT_QPA_FONTDIR
# A prefix of its own, and the program's settings and data gone, so it starts as on the first run.
export WINEPREFIX=$build/screenshots-prefix
if [ ! -d "$WINEPREFIX" ]; then
  wineboot --init >/dev/null 2>&1 || true
  wineserver -w
fi
wine reg delete 'HKCU\Software\Vextora' /f >/dev/null 2>&1 || true
rm -rf "$WINEPREFIX"/drive_c/users/*/AppData/Roaming/Vextora
wine reg add 'HKCU\Control Panel\Colors' /v Background /t REG_SZ /d '58 123 200' /f >/dev/null 2>&1
wineserver -w
trap 'wineserver -k 2>/dev/null || true' EXIT

mkdir -p docs
export ROOT=$root EXE=$build/huesplinter.exe
xvfb-run -a -s "-screen 0 1280x900x24 -dpi 96" bash -c '
  set -euo pipefail
  wine explorer /desktop=Huesplinter,1280x900 "$EXE" >/dev/null 2>&1 &
  # A window by its title: its position and size on the screen, the frame Wine draws included.
  find_window() {
    local id
    id=$(timeout 60 xdotool search --sync --onlyvisible --name "$1" | head -n 1)
    [ -n "$id" ] || { echo "no window \"$1\" appeared" >&2; exit 1; }
    # xwininfo, as xdotool counts the offset of a window inside the Wine desktop twice.
    xwininfo -id "$id" | awk "/Absolute upper-left X/ { x = \$NF } /Absolute upper-left Y/ { y = \$NF }
      /Width:/ { w = \$NF } /Height:/ { h = \$NF } END { print x, y, w, h }"
  }
  shot() { # NAME X Y W H: that part of the screen
    import -window root -crop "$4x$5+$2+$3" +repage "$ROOT/docs/$1"
    echo "saved docs/$1"
  }
  read -r mx my mw mh < <(find_window "Vextora.s Huesplinter")
  # The caption shows the palette build time for one second, then the colour count.
  sleep 4
  shot windows-main-window.png "$mx" "$my" "$mw" "$mh"
  # Controls by their place in the window: its client area ends at the frame, 4 pixels wide.
  click() { xdotool mousemove $((mx + mw - 4 - $1)) $((my + mh - 4 - $2)) click 1; }

  # Pick on Screen, then the pointer over the painted desktop near the window'"'"'s corner, so the
  # magnifier shows both; G and C switch on its grid and the colour hint.
  click 58 92
  sleep 3
  xdotool mousemove $((mx - 3)) $((my - 3))
  sleep 1
  xdotool key g c
  sleep 2
  shot windows-pick-on-screen.png 0 0 1280 900
  xdotool click 1
  sleep 2
  shot windows-picked.png "$mx" "$my" "$mw" "$mh"
  # The panel under the value field shows the colour picked.
  picked=$(convert "$ROOT/docs/windows-picked.png" -crop "1x1+$((mw - 108))+112" txt:- | grep -o "#[0-9A-F]\{6\}")
  [ "$picked" = "#3A7BC8" ] || { echo "picked $picked instead of the desktop'"'"'s #3A7BC8" >&2; exit 1; }
  echo "picked the desktop'"'"'s colour, $picked"

  # The sample window, shown beside the main window.
  click 724 62
  sleep 3
  shot windows-sample-window.png 0 0 1280 900
  click 724 62
  sleep 1

  click 158 36
  read -r dx dy dw dh < <(find_window "Shortcuts and Settings")
  sleep 2
  shot windows-settings-dialog.png "$dx" "$dy" "$dw" "$dh"
  xdotool key Escape
  sleep 1
  click 130 36
  read -r dx dy dw dh < <(find_window "About")
  sleep 2
  shot windows-about-window.png "$dx" "$dy" "$dw" "$dh"
  xdotool key Escape
'

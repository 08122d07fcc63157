#!/usr/bin/env bash
# Manual check, not part of CI: drives the program on a virtual screen with a small window
# manager (openbox) by synthetic keys, wheel notches and clicks (xdotool), the way a user would,
# and checks what a user gets: the clipboard, the caption, the window's size, the windows that
# open and close, the settings written at the close and the state the next start comes up in.
# The slot keys are also pressed on a French keyboard layout, where the digit row types
# punctuation.
#
#   bash scripts/commands-check.sh [path/to/huesplinter]
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/x-tools.sh xvfb-run xdotool openbox xclip setxkbmap xprop

if [ $# -gt 0 ]; then
  program=$(realpath "$1")
else
  bash scripts/deps.sh
  cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DHUESPLINTER_TESTS=OFF \
    -DHUESPLINTER_BENCH=OFF >/dev/null
  cmake --build build/release --target huesplinter
  program=$(realpath build/release/huesplinter)
fi

if [[ ${COMMANDS_IN_XVFB:-} != 1 ]]; then
  exec env COMMANDS_IN_XVFB=1 xvfb-run -a -s "-screen 0 1600x1000x24 -dpi 96 -br" "$0" "$program"
fi

work=$(mktemp -d)
openbox >/dev/null 2>&1 &
wm=$!
trap 'kill "$wm" 2>/dev/null || true; rm -rf "$work"' EXIT
sleep 1
export QT_QPA_PLATFORM=xcb HUESPLINTER_CONFIG_DIR=$work/config XDG_DATA_HOME=$work/data
store=$HUESPLINTER_CONFIG_DIR/Vextora/Huesplinter.conf
# The help page opens through the desktop's URL handler; this one only writes down what it got.
mkdir -p "$work/bin"
printf '#!/bin/sh\necho "$@" >>"%s/opened.txt"\n' "$work" >"$work/bin/xdg-open"
chmod +x "$work/bin/xdg-open"
export PATH=$work/bin:$PATH BROWSER=$work/bin/xdg-open

failures=0
check() { # what expected actual
  if [[ $3 == "$2" ]]; then
    echo "ok    $1"
  else
    echo "FAIL  $1: expected [$2], got [$3]"
    failures=$((failures + 1))
  fi
}

pid= win=
start() {
  "$program" >>"$work/out.txt" 2>&1 &
  pid=$!
  win=$(timeout 30 xdotool search --sync --onlyvisible --pid "$pid" | head -n 1 || true)
  [[ -n $win ]] || { echo "FAIL  the program showed no window"; exit 1; }
  sleep 1.5
  focus
}
focus() { xdotool windowactivate --sync "$win" >/dev/null 2>&1 || xdotool windowfocus "$win"; }
press() { xdotool key "$@"; sleep 0.4; }
clip() { xclip -o -selection clipboard 2>/dev/null || true; }
put_clip() { printf %s "$1" | xclip -i -selection clipboard; }
pastel() { xdotool getwindowname "$win" | sed -n 's/.*(\([0-9]*\))$/\1/p'; }
size() { xdotool getwindowgeometry --shell "$win" | awk -F= '/WIDTH|HEIGHT/ {printf "%s ", $2}'; }
# The captions of the program's visible windows other than the main window, sorted.
others() {
  local w
  for w in $(xdotool search --onlyvisible --pid "$pid" 2>/dev/null); do
    [[ $w == "$win" ]] || xdotool getwindowname "$w"
  done | sort | paste -sd'|' || true
}
# A key that opens a window, the caption expected, then Esc closes that window again.
opens() {
  focus
  press "$1"
  sleep 0.6
  check "$1 opens \"$2\"" "$2" "$(others)"
  press Escape
  sleep 0.3
  check "Esc closes \"$2\"" "" "$(others)"
}
wait_end() {
  for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.2; done
  if kill -0 "$pid" 2>/dev/null; then
    kill "$pid"
    echo "FAIL  the window did not close"
    exit 1
  fi
  wait "$pid" || { echo "FAIL  the program failed: $(cat "$work/out.txt")"; exit 1; }
}

# --- First start: copying, the pastel keys and the wheel ------------------------------------
start
press Return
check "Enter copies the start colour as HTML" "#007400" "$(clip)"
press Prior
check "Page Up: pastel 25" 25 "$(pastel)"
press Next
check "Page Down: pastel 0" 0 "$(pastel)"
press Home
check "Home: pastel 255" 255 "$(pastel)"
press End
check "End: pastel 0" 0 "$(pastel)"
xdotool mousemove --window "$win" 5 5 click 4
sleep 0.4
check "a wheel notch up: pastel 4" 4 "$(pastel)"
xdotool click 5
sleep 0.4
check "a wheel notch down: pastel 0" 0 "$(pastel)"

# --- Slots, on a US and on a French layout ---------------------------------------------------
press Return
stored=$(clip)
press alt+3 Home
press shift+3
check "Alt+3 stores, Shift+3 brings the colour back and copies it" "$stored" "$(clip)"
setxkbmap fr
press Prior
press Return
stored_fr=$(clip)
press alt+quotedbl Home
press shift+quotedbl
check "French layout: Alt and Shift with the 3 key" "$stored_fr" "$(clip)"
setxkbmap us

# --- Paste, sliders, the popup menu -----------------------------------------------------------
put_clip "#FFAA77"
press ctrl+v Return
check "Ctrl+V makes the clipboard's colour current" "#FFAA77" "$(clip)"
put_clip "rgb(1,2,3)"
press shift+Insert Return
check "Shift+Insert pastes as well" "#010203" "$(clip)"
press ctrl+shift+r Up Return
check "Ctrl+Shift+R focuses the red slider" "#020203" "$(clip)"
press ctrl+1 Up Return
[[ $(clip) != "#020203" ]] && moved=yes || moved=no
check "Ctrl+1 focuses the hue slider" yes "$moved"
press ctrl+Tab
xdotool mousemove --window "$win" 300 200 click 3
sleep 0.6
press Down Down Down Down Return
[[ $(clip) == hsl\(* ]] && hsl=yes || hsl=no
check "the popup menu's fourth item copies HSL" yes "$hsl"

# --- Clicks on the current colour panel, with and without modifiers --------------------------
put_clip "#FF1AB8"
press ctrl+v
read -r _ h <<<"$(size)"
panel_click() { # modifiers ("" for none)
  xdotool mousemove --window "$win" 40 $((h - 24 - 15))
  [[ -z $1 ]] || xdotool keydown "$1"
  xdotool click 1
  [[ -z $1 ]] || xdotool keyup "$1"
  sleep 0.4
}
panel_click ""
check "a click copies in the click action's notation" "#FF1AB8" "$(clip)"
panel_click shift
check "Shift+click copies R:G:B values" "R:255 G:026 B:184" "$(clip)"
panel_click ctrl
check "Ctrl+click copies the BGR value" "0x00B81AFF" "$(clip)"
panel_click ctrl+shift
check "Ctrl+Shift+click copies HTML" "#FF1AB8" "$(clip)"

# --- Window size keys --------------------------------------------------------------------------
read -r w0 h0 <<<"$(size)"
press KP_Add
check "keypad + grows both sides by a tenth" "$((w0 + w0 / 10)) $((h0 + h0 / 10)) " "$(size)"
read -r w1 h1 <<<"$(size)"
press ctrl+KP_Add
check "Ctrl with keypad + grows only the width" "$((w1 + w1 / 10)) $h1 " "$(size)"
read -r w2 h2 <<<"$(size)"
press shift+KP_Add
check "Shift with keypad + grows only the height" "$w2 $((h2 + h2 / 10)) " "$(size)"
read -r w3 h3 <<<"$(size)"
press KP_Subtract
check "keypad - shrinks both sides by a tenth" "$((w3 - w3 / 10)) $((h3 - h3 / 10)) " "$(size)"

# --- Windows and dialogs -----------------------------------------------------------------------
opens ctrl+q "Huesplinter"
# The sample window's own keys, with the focus in it.
focus
press ctrl+q
sample=
for w in $(xdotool search --onlyvisible --pid "$pid"); do
  [[ $w != "$win" && $(xdotool getwindowname "$w") == Huesplinter ]] && sample=$w
done
if [[ -n $sample ]]; then
  xdotool windowactivate --sync "$sample" >/dev/null 2>&1 || true
  sw=$(xdotool getwindowgeometry --shell "$sample" | sed -n 's/^WIDTH=//p')
  press equal
  check "= (the + key) in the sample window makes it a tenth wider" "$((sw + sw / 10))" \
    "$(xdotool getwindowgeometry --shell "$sample" | sed -n 's/^WIDTH=//p')"
  # The first picture save and a text load both ask for a file, once a click on the sample window
  # (no activation by the script) gave it the keyboard; Ctrl+S would save the colour set instead.
  for k in ctrl+s ctrl+o; do
    focus
    xdotool mousemove --window "$sample" 20 20 click 1
    sleep 1
    press "$k"
    sleep 0.8
    [[ $(others) == *"|"* ]] && asked=yes || asked=no
    check "$k after a click on the sample window opens a file dialog" yes "$asked"
    press Escape
    sleep 0.4
  done
  xdotool windowactivate --sync "$sample" >/dev/null 2>&1 || true
  press Escape
fi
check "Esc in the sample window hides it" "" "$(others)"
opens F2 "Huesplinter Shortcuts and Settings"
opens F3 "About Huesplinter"
# Dialogs ask the window manager for a close button only (the Motif hints' functions: close 0x20
# without minimise 0x08 or maximise 0x10; openbox draws its iconify button whatever they say),
# and closing one from the window manager (Alt+F4) closes it.
titlebar() { # key caption
  focus
  press "$1"
  sleep 0.6
  local w functions
  for w in $(xdotool search --onlyvisible --pid "$pid"); do
    [[ $w == "$win" ]] && continue
    functions=$(xprop -id "$w" _MOTIF_WM_HINTS 2>/dev/null | awk -F', ' '{print $2}')
    check "\"$2\" asks for a close button only" 32 "$((${functions:-0} & 0x38))"
    xdotool windowactivate --sync "$w" >/dev/null 2>&1 || true
    press alt+F4
  done
  sleep 0.4
  check "\"$2\" closes from the window manager" "" "$(others)"
}
titlebar F2 "Huesplinter Shortcuts and Settings"
titlebar F3 "About Huesplinter"
titlebar ctrl+m "Manage Color Sets"
opens ctrl+m "Manage Color Sets"
opens ctrl+n "Color Set Name"
opens ctrl+p "Huesplinter"
# A pick on the screen's black background comes back to the main window and the clipboard.
focus
press ctrl+p
sleep 0.6
xdotool mousemove 3 3
sleep 0.4
press Return
sleep 0.6
check "Enter in the picker picks the pixel under it" "#000000" "$(clip)"
check "the picker closes after a pick" "" "$(others)"
# The picker's own keys: its size, pointer steps, and grid and pick lines kept for the next time.
stored_value() { sed -n "s/^$1=dword://p" "$store"; }
grid=$(stored_value PickerGridLines)
lines=$(stored_value PickerPickLines)
focus
press ctrl+p
sleep 0.6
picker=
for w in $(xdotool search --onlyvisible --pid "$pid"); do
  [[ $w != "$win" && $(xdotool getwindowname "$w") == Huesplinter ]] && picker=$w
done
width_of() { xdotool getwindowgeometry --shell "$1" | sed -n 's/^WIDTH=//p'; }
if [[ -n $picker ]]; then
  xdotool mousemove 400 300
  sleep 0.4
  side=$(width_of "$picker")
  press ctrl+equal
  grown=$(width_of "$picker")
  check "Ctrl++ makes the picker larger" yes "$([[ $grown -gt $side ]] && echo yes || echo no)"
  press ctrl+KP_Subtract
  check "Ctrl+keypad - makes it smaller" yes \
    "$([[ $(width_of "$picker") -lt $grown ]] && echo yes || echo no)"
  eval "$(xdotool getmouselocation --shell)"
  x0=$X y0=$Y
  press Right Right Down
  eval "$(xdotool getmouselocation --shell)"
  check "arrow keys move the pointer a pixel at a time" "$((x0 + 2)) $((y0 + 1))" "$X $Y"
  press g p Escape
  sleep 0.4
else
  check "Ctrl+P opens the picker" yes no
fi
check "G in the picker switched the grid lines" "$((1 - grid))" "$(stored_value PickerGridLines)"
check "P in the picker switched the pick lines" "$((1 - lines))" "$(stored_value PickerPickLines)"
focus
press F1
grep -q 'help.html' "$work/opened.txt" 2>/dev/null && helped=yes || helped=no
check "F1 opens the help page" yes "$helped"

# --- Sample and window switches, then a close that answers No ---------------------------------
focus
press ctrl+g ctrl+b ctrl+i ctrl+t ctrl+a ctrl+h ctrl+k
# In BGR order the pasted digits are blue, green, red: the colour is #563412.
put_clip "#123456"
press ctrl+v F11
put_clip "#ABCDEF"
press ctrl+v F12
# The close leaves the start colour current, so the pastel level stored is the one the next start
# comes up with.
put_clip "#123456"
press ctrl+v F6 shift+Down
read -r width height <<<"$(size)"
set_file=$(find "$XDG_DATA_HOME" -name 'Default Color Set*' | head -n 1)
cp "$set_file" "$work/set.before"
press Escape
sleep 0.6
question=$(xdotool search --onlyvisible --name 'Question for you' | head -n 1 || true)
check "the slot changes bring up the close question" yes "$([[ -n $question ]] && echo yes || echo no)"
[[ -n $question ]] && { xdotool windowactivate --sync "$question" >/dev/null 2>&1 || true; press n; }
wait_end
cmp -s "$work/set.before" "$set_file" && kept=yes || kept=no
check "No closes without saving the colour set" yes "$kept"

# The stored records, field by field.
read -r order bold italic flags window text bkg points <<<"$(python3 - "$store" <<'EOF'
import sys
values = dict(line.split("=", 1) for line in open(sys.argv[1], encoding="utf-8").read().splitlines()
              if "=" in line and not line.startswith(";"))
settings = bytes.fromhex(values["Settings"].removeprefix("hex:"))
form = bytes.fromhex(values["FormSizePos"].removeprefix("hex:"))
field = lambda rec, i: int.from_bytes(rec[4 * i:4 * i + 4], "little")
font = field(settings, 5)
html = lambda c: "#%02X%02X%02X" % (c & 0xFF, (c >> 8) & 0xFF, c >> 16)  # red in the low byte
print(field(form, 9), font & 1, (font >> 1) & 1, settings[24:28].decode(), field(settings, 7),
      html(field(settings, 3)), html(field(settings, 4)), font >> 16)
EOF
)"
check "Ctrl+G stored BGR order (0)" 0 "$order"
check "Ctrl+B stored bold" 1 "$bold"
check "Ctrl+I stored italic" 1 "$italic"
check "Ctrl+T, Ctrl+A and Ctrl+K stored the sample flags" "0001" "$flags"
check "Ctrl+H on and F6 off in the window flags" 1 "$((window & 3))"
check "F11 stored the current colour as the text colour" "#563412" "$text"
check "F12 stored the current colour as the background colour" "#EFCDAB" "$bkg"
check "Shift+Down stored the next font size" 10 "$points"
cp "$store" "$work/first.conf"

# --- Second and third start: the state comes back --------------------------------------------------------
# Hot tracking is on now: the pointer must not rest where the palette will appear.
xdotool mousemove 0 0
start
check "the window comes back at its size" "$width $height " "$(size)"
press Return
check "the start colour is the stored text colour" "#563412" "$(clip)"
# A slot change saved at the close question is there at the next start.
press alt+5 Escape
sleep 0.6
question=$(xdotool search --onlyvisible --name 'Question for you' | head -n 1 || true)
[[ -n $question ]] && { xdotool windowactivate --sync "$question" >/dev/null 2>&1 || true; press y; }
wait_end
cmp -s "$work/set.before" "$set_file" && kept=yes || kept=no
check "Yes saves the colour set" no "$kept"
xdotool mousemove 0 0
start
press shift+5
check "the saved slot is there after a restart" "#563412" "$(clip)"
press Escape
wait_end
normalise() { grep -v '^;' "$1" | grep -v '^HistoryColors=' | sort; }
if diff <(normalise "$work/first.conf") <(normalise "$store") >"$work/diff.txt"; then
  check "a later close writes what the first wrote" same same
else
  check "a later close writes what the first wrote" same "$(cat "$work/diff.txt")"
fi

if [ "$failures" -gt 0 ]; then
  echo "$failures checks failed"
  exit 1
fi
echo "every command check passed"

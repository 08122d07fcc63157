#!/usr/bin/env bash
# The command-line pick on a virtual X screen whose root window is painted in two colours:
# Enter prints the colour under the pointer in the asked notation, --average the view's average,
# Esc ends with 1 and prints nothing, --copy leaves the text on the clipboard after the program
# ended (kept by its windowless keeper until something else is copied), and without a display the
# pick says why and ends with 2.
#
#   scripts/pick-check.sh [path/to/huesplinter]
set -euo pipefail

program=${1:-build/test/huesplinter}
[[ -x $program ]] || { echo "no program at $program" >&2; exit 2; }
program=$(realpath "$program")

if [[ -z ${DISPLAY:-} || ${PICK_CHECK_IN_XVFB:-} != 1 ]]; then
    bash "$(dirname "$0")/x-tools.sh" xvfb-run xdotool xclip display
    # -noreset: the painted root must outlive the painter, the server's only client at that time.
    exec env PICK_CHECK_IN_XVFB=1 xvfb-run -a -s "-screen 0 1280x800x24 -noreset" "$0" "$program"
fi

work=$(mktemp -d)
keeper=
cleanup() {
    [[ -n $keeper ]] && kill "$keeper" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
export HUESPLINTER_CONFIG_DIR=$work/config XDG_DATA_HOME=$work/data QT_QPA_PLATFORM=xcb
export ASAN_OPTIONS=detect_leaks=0 XDG_RUNTIME_DIR=$work/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"

fail() { echo "FAIL: $*" >&2; exit 1; }

# Left half #FF1AB8, right half #007400.
convert -size 640x800 xc:'#FF1AB8' -size 640x800 xc:'#007400' +append "$work/root.png"
# display answers 1 even when it painted the root, so the picture is checked instead.
display -window root "$work/root.png" || true
import -window root "$work/shown.png"
[[ $(convert "$work/shown.png" -format '%[pixel:p{300,400}]' info:) == "srgb(255,26,184)" ]] ||
    fail "the root window could not be painted"

# pick X Y KEY ARGS...: the pointer at X,Y, a pick with ARGS, KEY pressed in the picker. Leaves
# the exit code in $rc and the output in out.txt and err.txt.
pick() {
    local x=$1 y=$2 key=$3
    shift 3
    xdotool mousemove "$x" "$y"
    "$program" --pick "$@" >"$work/out.txt" 2>"$work/err.txt" &
    local pid=$! wid=
    for _ in $(seq 100); do
        wid=$(xdotool search --onlyvisible --pid "$pid" 2>/dev/null | head -1 || true)
        [[ -n $wid ]] && break
        sleep 0.2
    done
    [[ -n $wid ]] || fail "no picker for --pick $*"
    sleep 0.5
    xdotool key "$key"
    rc=0
    wait "$pid" || rc=$?
}

pick 300 400 Return --format html
[[ $rc == 0 && $(cat "$work/out.txt") == "#FF1AB8" ]] ||
    fail "Enter gave $rc: $(cat "$work/out.txt" "$work/err.txt")"
[[ ! -s $work/err.txt ]] || fail "Enter complained: $(cat "$work/err.txt")"

pick 640 400 Return --average --format rgb-values
average=$(cat "$work/out.txt")
[[ $rc == 0 && $average == R:* && $average != "R:255 G:026 B:184" && $average != "R:000 G:116 B:000" ]] ||
    fail "--average on the border gave $rc: $average"

pick 300 400 Escape --format html
[[ $rc == 1 && ! -s $work/out.txt ]] || fail "Esc gave $rc: $(cat "$work/out.txt")"

pick 900 400 Return --format bgr --copy
[[ $rc == 0 && $(cat "$work/out.txt") == "0x00007400" ]] || fail "--copy gave $rc: $(cat "$work/out.txt")"
keeper=$(pgrep -f -- "--keep-clipboard 0x00007400" | head -1 || true)
[[ -n $keeper ]] || fail "no clipboard keeper after the pick ended"
[[ $(xclip -o -selection clipboard) == "0x00007400" ]] || fail "the clipboard holds '$(xclip -o -selection clipboard)'"
echo other | xclip -i -selection clipboard 2>/dev/null
for _ in $(seq 50); do kill -0 "$keeper" 2>/dev/null || break; sleep 0.1; done
! kill -0 "$keeper" 2>/dev/null || fail "the keeper stayed after another copy"
keeper=

rc=0
env -u DISPLAY -u QT_QPA_PLATFORM "$program" --pick >"$work/out.txt" 2>"$work/err.txt" || rc=$?
[[ $rc == 2 && ! -s $work/out.txt ]] || fail "without a display --pick gave $rc"
grep -q "no display" "$work/err.txt" || fail "without a display: $(cat "$work/err.txt")"

echo "pick-check: all passed"

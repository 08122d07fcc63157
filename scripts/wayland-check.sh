#!/usr/bin/env bash
# Pick on Screen on a real Wayland compositor: a headless sway desktop painted #3A7BC8 with its
# screenshot portal (../shared/wayland/headless-session.sh, which runs the check as an
# unprivileged user). The program starts on Qt's Wayland plugin, the pointer is put away from its
# window, Ctrl+P asks the portal for the picture and opens the frozen magnifier, Enter picks; the
# clipboard must then hold #3A7BC8. Then `--pick` does the same from a script and must print it.
#
#   scripts/wayland-check.sh [path/to/huesplinter]
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
program=${1:-build/test/huesplinter}
[[ -x $program ]] || { echo "no program at $program" >&2; exit 2; }
session=${HEADLESS_SESSION:-$here/../../shared/wayland/headless-session.sh}
[[ -x $session || -f $session ]] || session=/work/shared/wayland/headless-session.sh
[[ -f $session ]] || { echo "no headless-session.sh (set HEADLESS_SESSION)" >&2; exit 2; }

# The check runs as another user: the program and the steps go to a folder everyone can read.
work=$(mktemp -d /tmp/huesplinter-wayland.XXXXXX)
trap 'rm -rf "$work"' EXIT
cp "$program" "$work/huesplinter"
# WAYLAND_CHECK_PICTURES=DIR keeps a picture of the desktop with the magnifier open.
if [[ -n ${WAYLAND_CHECK_PICTURES:-} ]]; then
    mkdir -p "$work/pictures"
    chmod 777 "$work/pictures"
fi
chmod 755 "$work" "$work/huesplinter"

cat >"$work/steps.sh" <<'STEPS'
#!/bin/bash
set -u
work=$(dirname "$0")
home=$(mktemp -d)
export HUESPLINTER_CONFIG_DIR=$home/config XDG_DATA_HOME=$home/data QT_QPA_PLATFORM=wayland
export ASAN_OPTIONS=detect_leaks=0
fail() { echo "FAIL: $*"; echo "--- program output"; cat "$home/out.txt"; exit 1; }
# Waits up to 20 s for a window of process $1 on the compositor.
window_of() {
    for _ in $(seq 100); do
        swaymsg -t get_tree 2>/dev/null | grep -q '"pid": '"$1" && return 0
        sleep 0.2
    done
    return 1
}
# Waits up to 10 s for process $1 to end; its exit status goes to $status ("" when it did not).
ended() {
    status=
    for _ in $(seq 50); do
        kill -0 "$1" 2>/dev/null || { wait "$1"; status=$?; return 0; }
        sleep 0.2
    done
    kill "$1" 2>/dev/null
    return 1
}

# A headless seat has no keyboard of its own: each wtype adds one and takes it away when done,
# and a program that sees its keyboard go loses focus. One long-lived virtual keyboard keeps the
# seat's keyboard there for the whole check, as on a desktop with a keyboard plugged in.
wtype -s 600000 &
keeper=$!
trap 'kill $keeper 2>/dev/null' EXIT
sleep 0.5
"$work/huesplinter" >"$home/out.txt" 2>&1 &
pid=$!
window_of "$pid" || fail "no window on the compositor"
# A slow build may still be loading its data when the window first shows: the key is sent
# again until the overlay is there.
sleep 3
# Away from the window (it floats in the middle of the 1280x800 output).
swaymsg seat seat0 cursor set 60 60 >/dev/null
seen=
for _ in 1 2 3; do
    swaymsg "[pid=$pid] focus" >/dev/null
    wtype -M ctrl p -m ctrl
    # The overlay appears under the pointer; a small move tells it where the pointer is (where
    # the seat has a pointer at all: a headless one has none, and the magnifier starts where the
    # program last saw the pointer, away from its window).
    for _ in $(seq 50); do
        [[ $(swaymsg -t get_tree | grep -c '"pid": '"$pid") -ge 2 ]] && { seen=1; break; }
        sleep 0.2
    done
    [[ -n $seen ]] && break
done
[[ -n $seen ]] || fail "Ctrl+P opened no overlay"
sleep 1
swaymsg seat seat0 cursor move 1 1 >/dev/null
swaymsg -- seat seat0 cursor move -1 -1 >/dev/null
sleep 0.5
[[ -n ${CHECK_PICTURES:-} ]] && grim "$CHECK_PICTURES/overlay.png"
wtype -k Return
sleep 1
got=$(wl-paste -n 2>/dev/null || true)
echo "--- windows"; swaymsg -t get_tree | grep -E '"(name|app_id|fullscreen_mode|pid)"' || true
kill "$pid" 2>/dev/null
wait "$pid" 2>/dev/null
[[ $got == "#3A7BC8" ]] || fail "clipboard holds '$got', not #3A7BC8"
echo "PASS: Ctrl+P, Enter over the #3A7BC8 desktop gave $got"

# The same pick from a script: --pick opens the overlay without the main window and prints the
# colour, here in two notations.
"$work/huesplinter" --pick --format html --format css-rgb >"$home/pick.txt" 2>"$home/out.txt" &
pid=$!
window_of "$pid" || fail "--pick opened no overlay"
sleep 1
swaymsg seat seat0 cursor move 1 1 >/dev/null
swaymsg -- seat seat0 cursor move -1 -1 >/dev/null
sleep 0.5
wtype -k Return
ended "$pid" || fail "--pick did not end after Enter"
printed=$(tr '\n' ' ' <"$home/pick.txt")
[[ $status == 0 && $printed == "#3A7BC8 rgb(58 123 200) " ]] ||
    fail "--pick ended with $status and printed '$printed'"
echo "PASS: --pick, Enter over the #3A7BC8 desktop printed $printed"

# Esc cancels: exit status 1 and nothing printed.
"$work/huesplinter" --pick >"$home/pick.txt" 2>"$home/out.txt" &
pid=$!
window_of "$pid" || fail "--pick opened no overlay"
sleep 1
wtype -k Escape
ended "$pid" || fail "--pick did not end after Esc"
[[ $status == 1 && ! -s $home/pick.txt ]] ||
    fail "--pick cancelled ended with $status and printed '$(cat "$home/pick.txt")'"
echo "PASS: --pick, Esc ended with status 1 and printed nothing"
STEPS
chmod 755 "$work/steps.sh"

status=0
bash "$session" --bg '#3A7BC8' --size 1280x800 -- \
    env CHECK_PICTURES="${WAYLAND_CHECK_PICTURES:+$work/pictures}" "$work/steps.sh" || status=$?
[[ -n ${WAYLAND_CHECK_PICTURES:-} ]] && cp "$work"/pictures/*.png "$WAYLAND_CHECK_PICTURES"/ 2>/dev/null
exit $status

#!/usr/bin/env bash
# Checks under a virtual X server with a window manager (openbox) that the settings survive what
# real use does to them:
#
#   1. kill -9 at random moments of a close (ROUNDS times, 30 by default): the settings file is
#      always either the one from before the close or the whole new one, never a mix;
#   2. two running copies: the copy that closes last keeps what the first one changed and it
#      did not;
#   3. two running copies saving one colour set: the second is asked before it saves over what
#      the first saved, and each answer (Cancel, Load Theirs, Overwrite) does what it says;
#   4. a full disk (a file size limit) during a close and during a colour set save: the old
#      file stays exactly as it was, no temporary file is left behind, and the program says so
#      in one box.
#
#   scripts/data-safety-check.sh [path/to/huesplinter] [ROUNDS]
set -euo pipefail

program=${1:-build/test/huesplinter}
rounds=${2:-30}
[[ -x $program ]] || { echo "no program at $program" >&2; exit 2; }
program=$(realpath "$program")

if [[ -z ${DISPLAY:-} || ${SAFETY_IN_XVFB:-} != 1 ]]; then
    bash "$(dirname "$0")/x-tools.sh" xvfb-run xdotool openbox
    exec env SAFETY_IN_XVFB=1 xvfb-run -a -s "-screen 0 1600x1000x24" "$0" "$program" "$rounds"
fi

# A busy machine may start the virtual server later than xvfb-run waits for it.
for _ in $(seq 150); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.2; done

work=$(mktemp -d)
pids=()
openbox >/dev/null 2>&1 &
wm=$!
cleanup() {
    for pid in "${pids[@]}"; do kill -9 "$pid" 2>/dev/null || true; done
    kill "$wm" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
export QT_QPA_PLATFORM=xcb HUESPLINTER_CONFIG_DIR=$work/config XDG_DATA_HOME=$work/data
export ASAN_OPTIONS=detect_leaks=0
store=$HUESPLINTER_CONFIG_DIR/Vextora/Huesplinter.conf
# Captions, as patterns: the main window's names its colour counts after the program's name.
main_caption="Vextora's Huesplinter .*"
box_caption="Vextora's Color Picker"
question_caption="Question for You"
set_file=$XDG_DATA_HOME/Vextora/Huesplinter/Default\ Color\ Set.Hspl

fail() { echo "FAIL: $*" >&2; exit 1; }

# The visible window of process $1 with the caption $2 (the main window's when not given), once
# the same one has been seen twice a quarter second apart, so that keys reach a window that has
# finished starting (the caption, and so the search's answer, changes while the start-up load
# runs). Fails when the process ends or shows none.
settled() {
    local last= now
    for _ in $(seq 120); do
        kill -0 "$1" 2>/dev/null || return 1
        now=$(xdotool search --all --onlyvisible --pid "$1" --name "^${2:-$main_caption}\$" \
            2>/dev/null | head -1 || true)
        [[ -n $now && $now == "$last" ]] && { echo "$now"; return 0; }
        last=$now
        sleep 0.25
    done
    return 1
}

# Starts the program and waits for its settled main window; sets $pid. "start limited"
# lets it write no file larger than 2 KiB, the way a nearly full disk does.
start() {
    if [[ ${1:-} == limited ]]; then
        (trap '' XFSZ; ulimit -f 2; exec "$program") >"$work/out.txt" 2>&1 &
    else
        "$program" >"$work/out.txt" 2>&1 &
    fi
    pid=$!
    pids+=("$pid")
    settled "$pid" >/dev/null || { cat "$work/out.txt" >&2; fail "no window"; }
    # The colour set is read by a timer right after the first show.
    sleep 1
}

# Runs `ACTION WINDOW ARGS...` on the settled window of process $1 with the caption $2
# (the main window when empty), after activating it. A window that went away between the look and
# the action is looked up again; fails when none is left to act on.
act() {
    local pid=$1 caption=$2 action=$3 win
    shift 3
    for _ in $(seq 10); do
        win=$(settled "$pid" "$caption") || return 1
        xdotool windowactivate --sync "$win" >/dev/null 2>&1 || true
        "$action" "$win" "$@" 2>/dev/null && return 0
        sleep 0.2
    done
    return 1
}

# A key to the window $1 once it is the active one, typed as on a keyboard: a key sent to the
# window itself fails at the release when the press closed it, and the key then stays down and
# repeats into whatever window comes next.
key_to() { [[ $(xdotool getactivewindow 2>/dev/null) == "$1" ]] && xdotool key "$2"; }
resize() { xdotool windowsize --sync "$@"; }
width_of() { xdotool getwindowgeometry --shell "$1" | sed -n 's/^WIDTH=//p'; }

# Types key $2 into the main window of process $1.
type_in() { act "$1" "" key_to "$2" || fail "process $1 has no window for $2"; }

# The number of visible windows of process $1 with the caption $2, after a moment for a late one.
count() { sleep 1; xdotool search --all --onlyvisible --pid "$1" --name "^$2\$" 2>/dev/null | wc -l; }

end_now() { kill -9 "$1" 2>/dev/null || true; wait "$1" 2>/dev/null || true; }

# Closes the main window of process $1 with Esc.
close() { act "$1" "" key_to Escape || fail "process $1 has no window to close"; }

wait_end() {
    for _ in $(seq 50); do kill -0 "$1" 2>/dev/null || return 0; sleep 0.2; done
    fail "the program did not end"
}

# Whether the file is a whole settings file: every line a comment, a key or a value of a known
# kind, and the last line ended.
whole() {
    python3 - "$1" <<'PY'
import re, sys
data = open(sys.argv[1], "rb").read()
ok = data.endswith(b"\n") and all(
    not line or line.startswith(b";") or re.fullmatch(rb"\[.+\]", line)
    or re.fullmatch(rb"[^=]+=(sz:.*|dword:-?\d+|hex:([0-9a-f]{2})*)", line)
    for line in data.split(b"\n"))
sys.exit(0 if ok else 1)
PY
}

# --- 1. kill -9 during a close --------------------------------------------------------------
start
act "$pid" "" resize 1000 700
close "$pid"
wait_end "$pid"
[[ -f $store ]] || fail "no settings written at the first close"
for round in $(seq "$rounds"); do
    cp "$store" "$work/before.conf"
    start
    # A size of this round's own, so the close has something to write.
    act "$pid" "" resize $((900 + round)) 700
    close "$pid"
    sleep "0.0$((RANDOM % 10))$((RANDOM % 10))"
    kill -9 "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    whole "$store" || fail "round $round: the settings file is cut short or mixed"
    # Every value there was before is there still: a close never leaves half a file.
    for name in $(grep -o '^[^;=[]*=' "$work/before.conf"); do
        grep -q "^$name" "$store" || fail "round $round: $name is gone"
    done
done
echo "kill -9 during a close ($rounds rounds): OK"

# --- 2. two running copies ------------------------------------------------------------------
start
first=$pid
start
second=$pid
act "$first" "" resize 1111 700
close "$first"
wait_end "$first"
# The second copy changed nothing of the main window's size: its close must keep the first's.
close "$second"
wait_end "$second"
start
[[ $(act "$pid" "" width_of) == 1111 ]] || fail "the last copy to close undid the first's size"
close "$pid"
wait_end "$pid"
echo "two running copies: OK"

# --- 3. two running copies saving one colour set ---------------------------------------------
# Both copies read the same set; the first stores the start colour in slot 0 and saves, then
# the second stores it in slot 1 and saves.
[[ -f $set_file ]] || fail "no colour set was written at the first start"
cp "$set_file" "$work/first-start.hspl"
for answer in Escape alt+l alt+o; do
    cp "$work/first-start.hspl" "$set_file"
    start
    first=$pid
    start
    second=$pid
    cp "$set_file" "$work/ours.hspl"
    type_in "$first" alt+0
    type_in "$first" ctrl+s
    sleep 0.5
    cmp -s "$set_file" "$work/ours.hspl" && fail "the first copy's save changed nothing"
    cp "$set_file" "$work/theirs.hspl"
    type_in "$second" alt+1
    type_in "$second" ctrl+s
    act "$second" "$question_caption" key_to "$answer" ||
        fail "the second copy saved over the first's colour set without asking"
    sleep 0.5
    case $answer in
    Escape)
        cmp -s "$set_file" "$work/theirs.hspl" || fail "Cancel saved the colour set"
        ;;
    alt+l)
        cmp -s "$set_file" "$work/theirs.hspl" || fail "Load Theirs saved the colour set"
        # The second copy now shows theirs: its next save asks nothing and writes the same.
        type_in "$second" ctrl+s
        [[ $(count "$second" "$question_caption") -eq 0 ]] || fail "Load Theirs did not load"
        cmp -s "$set_file" "$work/theirs.hspl" || fail "Load Theirs did not load their colours"
        ;;
    alt+o)
        # Ours over theirs: slot 1 changed, slot 0 as this copy read it.
        python3 - "$set_file" "$work/ours.hspl" "$work/theirs.hspl" <<'PY' ||
import sys
now, ours, theirs = (open(p, "rb").read().split(b"\r\n") for p in sys.argv[1:])
sys.exit(0 if now[1] == ours[1] and now[2] == theirs[1] and now[2] != ours[2] else 1)
PY
            fail "Overwrite did not write this copy's colours"
        ;;
    esac
    end_now "$first"
    end_now "$second"
done
echo "two running copies saving one colour set: OK"

# --- 4. a full disk -----------------------------------------------------------------------
# A long template (within the 4096 characters a start takes) makes the file larger than the
# 2 KiB the program may write.
python3 - "$store" <<'PY'
import re, sys
path = sys.argv[1]
text = open(path, encoding="utf-8").read()
long = "TemplateStr=sz:" + "RRGGBB " * 400
text, found = re.subn(r"(?m)^TemplateStr=.*$", long, text)
open(path, "w", encoding="utf-8").write(text if found else text.rstrip("\n") + "\n" + long + "\n")
PY
cp "$store" "$work/before.conf"
start limited
act "$pid" "" resize 1200 700
close "$pid"
act "$pid" "$box_caption" key_to Return || fail "a close on a full disk said nothing"
wait_end "$pid"
cmp -s "$store" "$work/before.conf" || fail "the full disk changed the settings file"
leftovers=$(find "$(dirname "$store")" -type f ! -name 'Huesplinter.conf*' | wc -l)
[[ $leftovers -eq 0 ]] || fail "temporary files left behind"
echo "a full disk during a close: OK"

# Long tile names make the colour set larger than the 2 KiB the program may write.
python3 - "$set_file" <<'PY'
import sys
path = sys.argv[1]
lines = open(path, "rb").read().split(b"\r\n")
lines[1:21] = [line.split(b"=")[0] + b"=" + b"Tile name long enough " * 8 for line in lines[1:21]]
open(path, "wb").write(b"\r\n".join(lines))
PY
cp "$set_file" "$work/before.hspl"
start limited
type_in "$pid" alt+0
type_in "$pid" ctrl+s
act "$pid" "File Error" key_to Return || fail "a colour set save on a full disk said nothing"
[[ $(count "$pid" "File Error|$box_caption") -eq 0 ]] || fail "a failed colour set save said it twice"
cmp -s "$set_file" "$work/before.hspl" || fail "the full disk changed the colour set"
leftovers=$(find "$(dirname "$set_file")" -type f ! -name '*.Hspl' ! -name '*.txt' | wc -l)
[[ $leftovers -eq 0 ]] || fail "temporary files left beside the colour sets"
end_now "$pid"
echo "a full disk during a colour set save: OK"

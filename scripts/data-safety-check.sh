#!/usr/bin/env bash
# Checks under a virtual X server that the settings survive what real use does to them:
#
#   1. kill -9 at random moments of a close (ROUNDS times, 30 by default): the settings file is
#      always either the one from before the close or the whole new one, never a mix;
#   2. two running copies: the copy that closes last keeps what the first one changed and it
#      did not;
#   3. a full disk (a file size limit) during a close: the old file stays exactly as it was,
#      no temporary file is left behind, and the program says so in a box.
#
#   scripts/data-safety-check.sh [path/to/huesplinter] [ROUNDS]
set -euo pipefail

program=${1:-build/test/huesplinter}
rounds=${2:-30}
[[ -x $program ]] || { echo "no program at $program" >&2; exit 2; }
program=$(realpath "$program")

if [[ -z ${DISPLAY:-} || ${SAFETY_IN_XVFB:-} != 1 ]]; then
    bash "$(dirname "$0")/x-tools.sh" xvfb-run xdotool
    exec env SAFETY_IN_XVFB=1 xvfb-run -a -s "-screen 0 1600x1000x24" "$0" "$program" "$rounds"
fi

# A busy machine may start the virtual server later than xvfb-run waits for it.
for _ in $(seq 150); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.2; done

work=$(mktemp -d)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill -9 "$pid" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT
export HUESPLINTER_CONFIG_DIR=$work/config XDG_DATA_HOME=$work/data
export ASAN_OPTIONS=detect_leaks=0
store=$HUESPLINTER_CONFIG_DIR/Vextora/Huesplinter.conf

fail() { echo "FAIL: $*" >&2; exit 1; }

# Starts the program, waits for its window; sets $pid and $wid. "start limited" lets it write
# no file larger than 2 KiB, the way a nearly full disk does.
start() {
    if [[ ${1:-} == limited ]]; then
        (trap '' XFSZ; ulimit -f 2; exec "$program") >"$work/out.txt" 2>&1 &
    else
        "$program" >"$work/out.txt" 2>&1 &
    fi
    pid=$!
    pids+=("$pid")
    wid=
    for _ in $(seq 100); do
        wid=$(xdotool search --onlyvisible --pid "$pid" 2>/dev/null | head -1 || true)
        [[ -n $wid ]] && break
        sleep 0.2
    done
    [[ -n $wid ]] || { cat "$work/out.txt" >&2; fail "no window"; }
    sleep 1
}

# Closes the main window of process $1 with Esc. The window is looked up afresh: the program may
# have replaced its native window since it first showed (a restored state or flag does that).
close() {
    local win
    win=$(xdotool search --onlyvisible --pid "$1" 2>/dev/null | head -1 || true)
    [[ -n $win ]] || fail "process $1 has no window to close"
    xdotool windowactivate --sync "$win" 2>/dev/null || xdotool windowfocus --sync "$win" 2>/dev/null || true
    xdotool key --window "$win" Escape
}

wait_end() {
    for _ in $(seq 50); do kill -0 "$1" 2>/dev/null || return 0; sleep 0.2; done
    fail "the program did not end"
}

width_of() { xdotool getwindowgeometry --shell "$1" | sed -n 's/^WIDTH=//p'; }

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
xdotool windowsize --sync "$wid" 1000 700
close "$pid"
wait_end "$pid"
[[ -f $store ]] || fail "no settings written at the first close"
for round in $(seq "$rounds"); do
    cp "$store" "$work/before.conf"
    start
    # A size of this round's own, so the close has something to write.
    xdotool windowsize --sync "$wid" $((900 + round)) 700
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
first=$pid firstwid=$wid
start
second=$pid
xdotool windowsize --sync "$firstwid" 1111 700
close "$first"
wait_end "$first"
# The second copy changed nothing of the main window's size: its close must keep the first's.
close "$second"
wait_end "$second"
start
[[ $(width_of "$wid") == 1111 ]] || fail "the last copy to close undid the first's size"
close "$pid"
wait_end "$pid"
echo "two running copies: OK"

# --- 3. a full disk during a close ----------------------------------------------------------
# A long template makes the file larger than the 2 KiB the program may write.
python3 - "$store" <<'PY'
import sys
path = sys.argv[1]
text = open(path, encoding="utf-8").read()
open(path, "w", encoding="utf-8").write(text.rstrip("\n") + "\nTemplateStr=sz:" + "RRGGBB " * 600 + "\n")
PY
cp "$store" "$work/before.conf"
start limited
xdotool windowsize --sync "$wid" 1200 700
close "$pid"
box=
for _ in $(seq 50); do
    box=$(xdotool search --onlyvisible --pid "$pid" 2>/dev/null | grep -v "^$wid$" | head -1 || true)
    [[ -n $box ]] && break
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.2
done
[[ -n $box ]] || fail "a close on a full disk said nothing"
xdotool key --window "$box" Return
wait_end "$pid"
cmp -s "$store" "$work/before.conf" || fail "the full disk changed the settings file"
leftovers=$(find "$(dirname "$store")" -type f ! -name 'Huesplinter.conf*' | wc -l)
[[ $leftovers -eq 0 ]] || fail "temporary files left behind"
echo "a full disk during a close: OK"

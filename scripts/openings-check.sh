#!/usr/bin/env bash
# Manual check, not part of CI: times the program from the outside on a virtual screen with a
# small window manager (openbox), as the X server sees it (the first drawing on a newly mapped
# window, through X Damage events), and prints the figures beside their goals:
#
# - Ctrl+P to the screen picker's first frame and Ctrl+Q to the sample window's, the first
#   opening and the median of REPEATS openings in one run; and Ctrl+P pressed as soon as the
#   main window is drawn, while the start may still be finishing, once in each of STARTS runs;
#   and Ctrl+P after the program sat idle for half a minute, when the memory kept for the desktop's
#   picture has given its pages back;
# - the start to the first frame of the main window with 100 colour sets and two 1,000-line
#   template lists, against a start with the built-in data a first start writes (and, for
#   reference, against a first start, on empty settings and data folders);
# - a start against an empty Qt window of the same size started the same way, and against one
#   that also shows a line of text (the font system's start and a first face are in that one);
# - the resident and proportional memory (RSS/PSS) at the first frame, and the resident memory
#   when the picker has just closed and half a minute later;
# - how many windows a start maps until it settles: one, unless the main window is made anew
#   after its first show.
#
# Starts are taken STARTS times each, interleaved, and their medians compared.
#
#   bash scripts/openings-check.sh [STARTS [REPEATS]]    (defaults 9 and 15)
#
# The program is built in Release into build/release; HUESPLINTER_PROGRAM=path measures another.
set -euo pipefail
cd "$(dirname "$0")/.."

starts=${1:-9}
repeats=${2:-15}
bash scripts/x-tools.sh xvfb-run openbox

if [[ ${OPENINGS_IN_XVFB:-} != 1 ]]; then
  bash scripts/deps.sh
  cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DHUESPLINTER_TESTS=OFF \
    -DHUESPLINTER_BENCH=OFF >/dev/null
  cmake --build build/release --target huesplinter huesplinter-empty-window huesplinter-firstframe
  exec env OPENINGS_IN_XVFB=1 xvfb-run -a -s "-screen 0 1600x1000x24 -dpi 96 -br" "$0" "$@"
fi

program=$(realpath "${HUESPLINTER_PROGRAM:-build/release/huesplinter}")
watch=$(realpath build/release/tools/huesplinter-firstframe)
empty=$(realpath build/release/tools/huesplinter-empty-window)

work=$(mktemp -d)
openbox >/dev/null 2>&1 &
wm=$!
trap 'kill "$wm" 2>/dev/null || true; rm -rf "$work"' EXIT
sleep 1
export QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR=$work/runtime
mkdir -m 700 "$work/runtime"

# Fresh settings and data folders for each run, with the data of a folder under $work copied in.
run() { # empty|built-in|user-data, then the watcher's arguments
  local home
  home=$(mktemp -d -p "$work")
  mkdir -p "$home/config" "$home/data"
  [[ $1 == empty ]] || cp -r "$work/$1/." "$home/data/"
  shift
  local status=0
  HUESPLINTER_CONFIG_DIR=$home/config XDG_DATA_HOME=$home/data "$watch" "$@" || status=$?
  # The watcher names its own other failures; a window that never came it leaves to its caller.
  ((status != 1)) || echo "openings-check.sh: no window within 20 seconds for: $*;" \
    "a machine this busy cannot be measured, try again when it is quieter" >&2
  ((status == 0)) || return "$status"
  [[ ${keep:-} == "" ]] || cp -r "$home/data/." "$work/$keep/"
  rm -rf "$home"
}
field() { awk -v k="$1" '$1 == k { print $2 }'; }
median() { sort -n | awk '{ v[NR] = $1 } END { if (NR == 0) print "nan"; else if (NR % 2) print v[(NR + 1) / 2]; else printf "%.1f\n", (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# What a first start writes (the built-in colour sets and template lists), and the main window's
# size, so the empty window has as many pixels to show.
mkdir -p "$work/built-in"
size=$(keep=built-in run empty -- "$program" | field window)
echo "main window ${size}; $starts starts each, $repeats openings each"

# A user's data over it: 100 colour sets of 40 colours, and 1,000 templates in each list.
cp -r "$work/built-in" "$work/user-data"
data=$work/user-data/Vextora/Huesplinter
mkdir -p "$data"
for s in $(seq 100); do
  {
    printf 'Huesplinter ColorSet Data File=20\r\n'
    for c in $(seq 40); do printf '%02X%02X%02X=Colour %d of set %d\r\n' $((s * 2)) $((c * 6)) $(((s + c) % 256)) "$c" "$s"; done
  } >"$data/Set $s.Hspl"
done
for t in $(seq 1000); do printf '$00BBGGRR\tDelphi %d\t1\t0\t0\t0\t\r\n' "$t"; done >"$data/MruList.txt"
for t in $(seq 1000); do printf 'hsl( HH, SS%%, LL%% );\tCSS hsl %d\t0\t360\t100\t100\t\r\n' "$t"; done >"$data/HslMruList.txt"

: >"$work/first" >"$work/plain" >"$work/data" >"$work/bare" >"$work/text"
last() { field start_ms <"$work/$1" | tail -n 1; }
for i in $(seq "$starts"); do
  run empty -- "$program" >>"$work/first"
  run built-in -- "$program" >>"$work/plain"
  run user-data -- "$program" >>"$work/data"
  run empty -- "$empty" "$size" >>"$work/bare"
  run empty -- "$empty" --text "$size" >>"$work/text"
  echo "start $i of $starts: first start $(last first) ms, built-in data $(last plain) ms," \
    "user's data $(last data) ms, empty window $(last bare) ms, with text $(last text) ms"
done
run built-in --open ctrl+p --close Escape --repeat "$repeats" -- "$program" >"$work/picker"
: >"$work/early"
for i in $(seq "$starts"); do
  run built-in --open ctrl+p --close Escape --repeat 1 --at-once -- "$program" >>"$work/early"
done
run built-in --open ctrl+q --close Escape --repeat "$repeats" -- "$program" >"$work/sample"
run built-in --open ctrl+p --close Escape --repeat 1 --idle 31 -- "$program" >"$work/idle"

opening() { awk -v n="$2" '$1 == "open_ms" && $2 == n { print $3 }' "$work/$1"; }
openings() { awk '$1 == "open_ms" { print $3 }' "$work/$1" | median; }
first=$(field start_ms <"$work/first" | median)
plain=$(field start_ms <"$work/plain" | median)
withData=$(field start_ms <"$work/data" | median)
emptyMs=$(field start_ms <"$work/bare" | median)
textMs=$(field start_ms <"$work/text" | median)
mib() { field "$1" <"$work/$2" | median | awk '{ printf "%.1f", $1 / 1024 }'; }

echo
row() { printf '%-46s %-36s %s\n' "$1" "$2" "$3"; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2fx (%s / %s ms)", a / b, a, b }'; }
row "figure" "measured" "goal"
row "Ctrl+P to the picker's first frame" \
  "$(opening picker 1) ms first, $(openings picker) ms median" "<= 100 ms, first opening included"
row "  Ctrl+P as soon as the main window is drawn" "$(openings early) ms median" ""
row "  Ctrl+P after half a minute idle" "$(opening idle 1) ms" ""
row "Ctrl+Q to the sample window's first frame" \
  "$(opening sample 1) ms first, $(openings sample) ms median" "<= 100 ms"
row "start with 100 sets and 2 x 1,000 templates" \
  "$(ratio "$withData" "$plain")" "<= 1.05x a start on the built-in data"
row "  against a first start" "$(ratio "$withData" "$first")" ""
row "first paint vs an empty Qt window" "$(ratio "$plain" "$emptyMs")" "<= 1.2x"
row "  a first start vs an empty Qt window" "$(ratio "$first" "$emptyMs")" ""
row "  vs an empty Qt window with a line of text" "$(ratio "$plain" "$textMs")" ""
mostWindows() { cat "$work/first" "$work/plain" "$work/data" | field start_windows | sort -n | tail -n 1; }
row "windows mapped by a start, most of all starts" "$(mostWindows)" "1"
row "memory at first paint, RSS / PSS" "$(mib rss_kib plain) / $(mib pss_kib plain) MiB" \
  "<= 31 MiB"
row "  empty Qt window, RSS / PSS" "$(mib rss_kib bare) / $(mib pss_kib bare) MiB" ""
row "  with a line of text, RSS / PSS" "$(mib rss_kib text) / $(mib pss_kib text) MiB" ""
row "  with the user's data, RSS / PSS" "$(mib rss_kib data) / $(mib pss_kib data) MiB" ""
row "memory as the picker closes / 30 s later, RSS" \
  "$(mib closed_rss_kib idle) / $(mib idle_rss_kib idle) MiB" ""

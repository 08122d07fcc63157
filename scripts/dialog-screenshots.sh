#!/usr/bin/env bash
# Builds the dialog screenshot tool (Release) and saves pictures of the template list dialog,
# the settings dialog (filled with the built-in templates), a Yes/No/Cancel message box and the
# about window, on a virtual 96-dpi screen:
#
#   bash scripts/dialog-screenshots.sh     # docs/template-list-dialog.png, docs/settings-dialog.png,
#                                          # docs/message-box.png, docs/about-window.png
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

bash scripts/x-tools.sh xvfb-run
bash scripts/deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DHUESPLINTER_TESTS=OFF \
  -DHUESPLINTER_BENCH=OFF >/dev/null
cmake --build build/release --target huesplinter-shots

# Settings and data of this run stay in a throw-away folder.
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir -p docs
XDG_CONFIG_HOME="$scratch/config" XDG_DATA_HOME="$scratch/data" \
  HUESPLINTER_CONFIG_DIR="$scratch/config" QT_QPA_PLATFORM=xcb \
  xvfb-run -a -s "-screen 0 1280x900x24 -dpi 96" "$root/build/release/tools/huesplinter-shots" \
  "$root/docs"

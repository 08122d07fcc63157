#!/usr/bin/env bash
# Draws the program's icon in every hicolor size from its scalable picture.
# Run after changing the SVG and commit the PNGs (needs rsvg-convert, Debian
# package librsvg2-bin).
set -euo pipefail
cd "$(dirname "$0")/../data/icons/hicolor"
svg=scalable/apps/org.vextora.Huesplinter.svg
for size in 16 22 24 32 48 64 128 256; do
  mkdir -p "${size}x${size}/apps"
  rsvg-convert -w "$size" -h "$size" "$svg" -o "${size}x${size}/apps/org.vextora.Huesplinter.png"
done
# The Windows icon (program file, installer, Start menu) from the PNGs just drawn.
python3 ../../../scripts/windows-icon.py ../org.vextora.Huesplinter.ico

#!/usr/bin/env python3
"""Packs the program's hicolor PNG icons into one Windows icon file (PNG entries,
which Windows reads from Vista on): scripts/windows-icon.py OUTPUT.ico"""
import struct
import sys
from pathlib import Path

root = Path(__file__).resolve().parent.parent / "data" / "icons" / "hicolor"
sizes = [16, 24, 32, 48, 64, 256]
images = []
for size in sizes:
    png = (root / f"{size}x{size}" / "apps" / "org.vextora.Huesplinter.png").read_bytes()
    if png[:8] != b"\x89PNG\r\n\x1a\n":
        sys.exit(f"windows-icon.py: the {size}x{size} icon is no PNG")
    images.append((size, png))

header = struct.pack("<HHH", 0, 1, len(images))
offset = len(header) + 16 * len(images)
entries = b""
for size, png in images:
    # A width or height of 256 is written as 0.
    entries += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(png), offset)
    offset += len(png)
Path(sys.argv[1]).write_bytes(header + entries + b"".join(png for _, png in images))

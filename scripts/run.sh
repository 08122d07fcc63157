#!/usr/bin/env bash
# Builds Huesplinter (Release) and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DHUESPLINTER_TESTS=OFF
cmake --build build/release --target huesplinter
exec build/release/huesplinter "$@"

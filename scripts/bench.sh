#!/usr/bin/env bash
# Builds the benchmarks in Release and runs them; extra arguments go to Google Benchmark.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DHUESPLINTER_BENCH=ON
cmake --build build/release --target huesplinter-bench
QT_QPA_PLATFORM=offscreen build/release/bench/huesplinter-bench "$@"

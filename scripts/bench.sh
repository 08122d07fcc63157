#!/usr/bin/env bash
# Builds the benchmarks in Release and runs them; extra arguments go to Google Benchmark
# (--benchmark_filter=REGEX picks benchmarks, --benchmark_repetitions=N repeats them). Ends with a
# table of every benchmark that measures its floor (memset or memcpy of the same bytes in the same
# run): its fastest pass, the floor's, and how many floors it takes.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DHUESPLINTER_BENCH=ON
cmake --build build/release --target huesplinter-bench
results=build/release/bench-results.json
QT_QPA_PLATFORM=offscreen build/release/bench/huesplinter-bench \
  --benchmark_out="$results" --benchmark_out_format=json "$@"

# The JSON writer puts one key on a line, so each benchmark's fields are read line by line.
echo
awk '
  function value(line) { sub(/^[^:]*: */, "", line); sub(/,$/, "", line); gsub(/"/, "", line); return line }
  /"name":/     { name = value($0); floor = ""; ratio = ""; kind = "" }
  /"run_type":/ { kind = value($0) }
  /"floor_us":/ { floor = value($0) }
  /"x_floor":/  { ratio = value($0) }
  /^    }/ {
    if (name != "" && ratio != "" && kind == "iteration") {
      if (!header++) printf "%-48s %12s %12s %8s\n", "benchmark", "fastest", "floor", "x floor"
      printf "%-48s %9.1f us %9.1f us %8.2f\n", name, floor * ratio, floor, ratio
    }
    name = ""
  }
' "$results"

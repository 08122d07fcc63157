#!/usr/bin/env bash
# Builds every libFuzzer target in fuzz/ with clang and runs each for SECONDS
# (default 60), starting from its seed corpus in fuzz/corpus/<Name>/. Inputs
# the fuzzer finds interesting collect in build/fuzz/corpus/<Name>/; a crash
# leaves its input in build/fuzz/artifacts/ and fails the script.
#
#   bash scripts/fuzz.sh 20             # every target, 20 s each
#   bash scripts/fuzz.sh 60 PngImage    # one target
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
shift || true

bash scripts/deps.sh
CC=clang CXX=clang++ cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DHUESPLINTER_FUZZ=ON -DHUESPLINTER_TESTS=OFF -DHUESPLINTER_BENCH=OFF >/dev/null
cmake --build build/fuzz --target huesplinter-fuzz

if [ $# -gt 0 ]; then
  targets=("$@")
else
  targets=()
  for source in fuzz/*.cpp; do
    targets+=("$(basename "$source" .cpp)")
  done
fi

export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=halt_on_error=1:detect_leaks=1
export LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1

mkdir -p build/fuzz/artifacts
failed=()
summary=()
for name in "${targets[@]}"; do
  seeds=fuzz/corpus/$name
  found=build/fuzz/corpus/$name
  mkdir -p "$found" "$seeds"
  log=build/fuzz/$name.log
  echo "== $name: $seconds s"
  if build/fuzz/fuzz/fuzz-"$name" -max_total_time="$seconds" -print_final_stats=1 \
      -rss_limit_mb=2048 -artifact_prefix=build/fuzz/artifacts/"$name"- \
      "$found" "$seeds" >"$log" 2>&1; then
    runs=$(awk '/stat::number_of_executed_units/ {print $2}' "$log")
    summary+=("$name: ${runs:-?} runs, clean")
  else
    tail -n 60 "$log"
    failed+=("$name")
    summary+=("$name: FAILED (see $log)")
  fi
done

printf '%s\n' "${summary[@]}"
if [ ${#failed[@]} -gt 0 ]; then
  echo "fuzz targets with findings: ${failed[*]}" >&2
  exit 1
fi

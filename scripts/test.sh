#!/usr/bin/env bash
# Builds Huesplinter with -Wall -Wextra, AddressSanitizer and
# UndefinedBehaviorSanitizer, and runs every test. Any sanitizer report fails. The benchmark
# program is built too and every benchmark runs once, so a broken benchmark fails as well.
# Then, when the Windows toolchain is beside the checkout (../shared/toolchains), the Windows
# build: cross-compiled with mingw-w64 and its whole test program run under wine64.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DHUESPLINTER_SANITIZE=ON -DHUESPLINTER_WERROR=ON \
  -DHUESPLINTER_TESTS=ON -DHUESPLINTER_BENCH=ON
cmake --build build/test
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=halt_on_error=1:detect_leaks=1:abort_on_error=0
export LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
ctest --test-dir build/test --output-on-failure -j "$(nproc)"

# Every reader of files and stored records is fuzzed for a short while.
if command -v clang++ >/dev/null; then
  bash scripts/fuzz.sh 20
fi

windows_start=$SECONDS
bash scripts/windows.sh --test
echo "test.sh: the Windows stage took $((SECONDS - windows_start)) s"

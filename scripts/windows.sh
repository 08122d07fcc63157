#!/usr/bin/env bash
# Cross-builds Huesplinter for 64-bit Windows with mingw-w64 and the prebuilt Qt of
# ../shared/toolchains (or $HUESPLINTER_TOOLCHAINS), warning-free with -Werror, in Release and
# without sanitizers: huesplinter.exe, the test program and, when a cross-built Google Benchmark
# is in the prefix, the benchmarks.
#
#   bash scripts/windows.sh            build into build/windows
#   bash scripts/windows.sh --program  build huesplinter.exe alone
#   bash scripts/windows.sh --test     build everything and run the whole test program under Wine
#
# The toolchain tarball is unpacked once into $HUESPLINTER_CACHE (~/.cache/huesplinter) and again
# only when the tarball changes. Without the toolchain the script says so and exits 0, so a
# checkout without shared/ beside it still passes scripts/test.sh.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

toolchains=${HUESPLINTER_TOOLCHAINS:-$root/../shared/toolchains}
tarball=$toolchains/qt6.4.2-mingw64.tar.xz
if [ ! -f "$tarball" ] || [ ! -f "$toolchains/mingw-w64-x86_64.cmake" ]; then
  echo "windows.sh: skipping the Windows build: no toolchain at $toolchains" \
    "(set HUESPLINTER_TOOLCHAINS to the folder holding qt6.4.2-mingw64.tar.xz)"
  exit 0
fi
toolchains=$(realpath "$toolchains")

run_tests=no
targets=()
for arg in "$@"; do
  case "$arg" in
    --test) run_tests=yes ;;
    --program) targets=(--target huesplinter) ;;
    *) echo "windows.sh: unknown argument '$arg'" >&2; exit 2 ;;
  esac
done

bash scripts/deps.sh --windows

cache=${HUESPLINTER_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/huesplinter}
prefix=$cache/qt6-mingw
stamp=$cache/qt6-mingw.stamp
want=$(stat -c '%s %Y' "$tarball")
if [ ! -f "$stamp" ] || [ "$(cat "$stamp")" != "$want" ] || [ ! -d "$prefix" ]; then
  echo "windows.sh: unpacking the toolchain into $cache"
  mkdir -p "$cache"
  rm -rf "$prefix" "$stamp"
  tar -xJf "$tarball" -C "$cache"
  echo "$want" >"$stamp"
fi

launcher=()
if command -v ccache >/dev/null; then
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi

# The toolchain holds no Google Benchmark; the benchmarks are built once one is cross-built into
# the prefix (lib/cmake/benchmark).
bench=OFF
if [ -d "$prefix/lib/cmake/benchmark" ]; then
  bench=ON
else
  echo "windows.sh: no cross-built Google Benchmark in $prefix: the benchmarks are left out"
fi

build=$root/build/windows
export MINGW_PREFIX=$prefix
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$toolchains/mingw-w64-x86_64.cmake" \
  -DCMAKE_PREFIX_PATH="$prefix" -DQT_HOST_PATH=/usr \
  -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
  -DHUESPLINTER_WERROR=ON -DHUESPLINTER_TESTS=ON -DHUESPLINTER_BENCH=$bench "${launcher[@]}" >/dev/null
cmake --build "$build" -j "${HUESPLINTER_JOBS:-2}" "${targets[@]}"

[ "$run_tests" = yes ] || exit 0

# The DLLs the programs load: Qt's, the mingw runtime's, and the platform plugins.
runtime=("$prefix/bin" /usr/lib/gcc/x86_64-w64-mingw32/12-posix /usr/x86_64-w64-mingw32/lib)
winepath=
for dir in "${runtime[@]}"; do
  winepath+="Z:${dir//\//\\};"
done
export WINEPATH=$winepath
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# Wine keeps this side's QT_ variables from Windows programs; WINEQT_X reaches them as QT_X. The
# programs find the plugins beside Qt's DLLs by themselves.
export WINEQT_QPA_PLATFORM=offscreen
# On Windows the offscreen platform takes its fonts from one folder rather than from the system:
# the fonts scripts/deps.sh installs, as the Linux tests use them.
fonts=$build/fonts
mkdir -p "$fonts"
ln -sf /usr/share/fonts/truetype/dejavu/*.ttf /usr/share/fonts/truetype/liberation/*.ttf "$fonts/"
export WINEQT_QPA_FONTDIR="Z:${fonts//\//\\}"
# A Wine prefix of its own, so the run neither sees nor leaves anything in the user's ~/.wine.
export WINEPREFIX=$build/wineprefix
if [ ! -d "$WINEPREFIX" ]; then
  wineboot --init >/dev/null 2>&1 || true
  wineserver -w
fi

echo "windows.sh: huesplinter.exe --version under wine64"
wine "$build/huesplinter.exe" --version

# Bounded twice: the test program ends itself, naming the test, when one test runs longer than
# HUESPLINTER_TEST_TIMEOUT seconds; the whole run is stopped after HUESPLINTER_WINE_TIMEOUT
# seconds in case Wine itself stops answering. The full log is kept; the terminal gets all but
# the lines of passing tests.
echo "windows.sh: the test program under wine64"
export HUESPLINTER_TEST_TIMEOUT=${HUESPLINTER_TEST_TIMEOUT:-180}
log=$build/tests/wine-tests.log
status=0
timeout --kill-after=20 "${HUESPLINTER_WINE_TIMEOUT:-1800}" \
  wine "$build/tests/huesplinter-tests.exe" --gtest_color=no >"$log" 2>&1 || status=$?
tr -d '\r' <"$log" | grep -v -e '^\[ RUN      \]' -e '^\[       OK \]' || true
if [ "$status" -ne 0 ]; then
  # The test that started last and never finished, if any.
  hung=$(tr -d '\r' <"$log" | awk '/^\[ RUN      \]/ { t = $4 } /^\[ +(OK|FAILED|SKIPPED) +\]/ { if ($4 == t) t = "" } END { print t }')
  if [ "$status" -eq 124 ] || [ "$status" -eq 137 ]; then
    echo "windows.sh: the test program was stopped after ${HUESPLINTER_WINE_TIMEOUT:-1800} s" \
      "${hung:+in $hung }(full log: $log)" >&2
  else
    echo "windows.sh: the test program failed with status $status${hung:+ in $hung}" \
      "(full log: $log)" >&2
  fi
  wineserver -k || true
  exit "$status"
fi
wineserver -w

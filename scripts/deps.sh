#!/usr/bin/env bash
# Installs the Debian/Ubuntu packages Huesplinter needs to build, test and run.
# Only missing packages are installed; as root directly, otherwise through sudo.
#
#   bash scripts/deps.sh              what the Linux build, the tests and the fuzzers need
#   bash scripts/deps.sh --windows    also the mingw-w64 cross compilers, wine64 and nsis
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev libqt6opengl6-dev libgl-dev qt6-wayland dbus
  libpng-dev zlib1g-dev libfontconfig-dev
  libxcb1-dev libxcb-shm0-dev libxcb-damage0-dev libxcb-xtest0-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-liberation fonts-dejavu-core
  desktop-file-utils appstream dpkg-dev man-db
  clang libclang-rt-14-dev
  gimp-data
)
if [ "${1:-}" = --windows ]; then
  # The host's moc, rcc and uic (from qt6-base-dev-tools, pulled in by qt6-base-dev) serve the
  # cross build too.
  packages+=(
    mingw-w64 g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix
    wine wine64 nsis zip unzip
  )
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

if [ "$(id -u)" -eq 0 ]; then
  sudo=()
else
  sudo=(sudo)
fi

echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"

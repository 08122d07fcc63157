#!/usr/bin/env bash
# Builds a Debian package (.deb) of Huesplinter from its install tree.
#
#   bash scripts/package.sh                    Release build in build/package, .deb in build/
#   bash scripts/package.sh --build-dir DIR    package an existing build instead
#   bash scripts/package.sh --output DIR       write the .deb into DIR
#
# Installing the package needs root and is checked by hand on a fresh
# Debian 12:  apt install ./huesplinter_<version>_<arch>.deb
set -euo pipefail
cd "$(dirname "$0")/.."
source_dir=$PWD

build_dir=
output_dir=$source_dir/build
while [ $# -gt 0 ]; do
  case "$1" in
    --build-dir) build_dir=$(realpath "$2"); shift 2 ;;
    --output) mkdir -p "$2"; output_dir=$(realpath "$2"); shift 2 ;;
    *) echo "package.sh: unknown argument '$1'" >&2; exit 2 ;;
  esac
done

if [ -z "$build_dir" ]; then
  bash scripts/deps.sh
  build_dir=$source_dir/build/package
  cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DHUESPLINTER_TESTS=OFF -DHUESPLINTER_BENCH=OFF -DCMAKE_INSTALL_PREFIX=/usr
  cmake --build "$build_dir" --target huesplinter
fi

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build_dir/CMakeCache.txt")
[ -n "$version" ] || { echo "package.sh: no project version in $build_dir" >&2; exit 1; }
arch=$(dpkg --print-architecture)

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
stage=$work/stage
DESTDIR=$stage cmake --install "$build_dir" --prefix /usr --strip >/dev/null
# Debian keeps manual pages compressed.
find "$stage/usr/share/man" -type f -name '*.[0-9]' -exec gzip -9n {} +

# The libraries the program links decide the dependencies; the platform
# plugins are loaded at run time, so no linker can name them.
mkdir -p "$work/debian"
printf 'Source: huesplinter\n\nPackage: huesplinter\nArchitecture: any\n' >"$work/debian/control"
shlib_depends=$(cd "$work" && dpkg-shlibdeps -O -e"$stage/usr/bin/huesplinter" 2>/dev/null |
  sed -n 's/^shlibs:Depends=//p')
[ -n "$shlib_depends" ] || { echo "package.sh: could not work out the dependencies" >&2; exit 1; }
rm -rf "$work/debian"

installed_kb=$(du -sk "$stage/usr" | cut -f1)
mkdir -p "$stage/DEBIAN"
cat >"$stage/DEBIAN/control" <<CONTROL
Package: huesplinter
Version: $version
Architecture: $arch
Maintainer: Vextora <huesplinter@vextora.org>
Installed-Size: $installed_kb
Depends: $shlib_depends, qt6-qpa-plugins, qt6-wayland
Recommends: fonts-liberation, xdg-desktop-portal
Section: graphics
Priority: optional
Homepage: https://vextora.org/huesplinter
Description: colour picker for web pages and desktop programs
 A large palette, six sliders and a value field that reads any common
 colour notation follow the current colour; a click copies it as HTML hex,
 BGR hex, R:G:B values, HSL or a template of your own. Picks colours from the
 screen with a magnifier, tries text colours on a background and keeps named
 sets of colours.
CONTROL
(cd "$stage" && find usr -type f -print0 | sort -z | xargs -0 md5sum >DEBIAN/md5sums)

deb=$output_dir/huesplinter_${version}_${arch}.deb
dpkg-deb --root-owner-group -Zxz --build "$stage" "$deb" >/dev/null
echo "$deb"

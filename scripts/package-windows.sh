#!/usr/bin/env bash
# Packs the Windows build (scripts/windows.sh) for users: a portable zip (the program, the Qt and
# mingw runtime DLLs it loads, the windows platform plugin and style, the help page) and a
# per-user installer made with nsis, both in build/windows/dist/.
#
#   bash scripts/package-windows.sh             build the program (when needed) and pack
#   bash scripts/package-windows.sh --no-build  pack build/windows as it is
#   bash scripts/package-windows.sh --check     and install, start and uninstall both under Wine
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

check=no
build_first=yes
for arg in "$@"; do
  case "$arg" in
    --check) check=yes ;;
    --no-build) build_first=no ;;
    *) echo "package-windows.sh: unknown argument '$arg'" >&2; exit 2 ;;
  esac
done

[ "$build_first" = no ] || bash scripts/windows.sh --program
build=$root/build/windows
[ -f "$build/huesplinter.exe" ] || { echo "package-windows.sh: no Windows build to pack" >&2; exit 1; }
prefix=$(sed -n 's/^CMAKE_PREFIX_PATH:[A-Z]*=//p' "$build/CMakeCache.txt")
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")

dist=$build/dist
stage=$build/stage/Huesplinter
rm -rf "$build/stage" && mkdir -p "$stage" "$dist"
cmake --install "$build" --prefix "$stage" --strip >/dev/null
for plugin in platforms/qwindows.dll styles/qwindowsvistastyle.dll imageformats/qico.dll; do
  mkdir -p "$stage/$(dirname "$plugin")"
  cp "$prefix/plugins/$plugin" "$stage/$plugin"
done

# Every DLL the program and the plugins load, found where the cross build found them; what is in
# none of these folders is Windows' own.
search=("$prefix/bin" /usr/lib/gcc/x86_64-w64-mingw32/12-posix /usr/x86_64-w64-mingw32/lib)
queue=("$stage/huesplinter.exe" "$stage"/platforms/*.dll "$stage"/styles/*.dll "$stage"/imageformats/*.dll)
while [ ${#queue[@]} -gt 0 ]; do
  file=${queue[0]}
  queue=("${queue[@]:1}")
  while read -r dll; do
    [ -e "$stage/$dll" ] && continue
    for dir in "${search[@]}"; do
      if [ -f "$dir/$dll" ]; then
        cp "$dir/$dll" "$stage/$dll"
        queue+=("$stage/$dll")
        break
      fi
    done
  done < <(x86_64-w64-mingw32-objdump -p "$file" | sed -n 's/^\s*DLL Name: //p')
done
x86_64-w64-mingw32-strip --strip-unneeded "$stage"/*.dll "$stage"/*/*.dll 2>/dev/null || true

zip_file=$dist/Huesplinter-$version-windows-x64.zip
rm -f "$zip_file"
(cd "$build/stage" && zip -qr9 "$zip_file" Huesplinter)
echo "package-windows.sh: $zip_file"

# The uninstaller removes exactly the files the installer put there.
filelist=$build/stage/uninstall-files.nsh
(
  cd "$stage"
  find . -type f | sort | sed 's|^\./||; s|/|\\|g; s|^|  Delete "$INSTDIR\\|; s|$|"|'
  find . -mindepth 1 -type d | sort -r | sed 's|^\./||; s|/|\\|g; s|^|  RMDir "$INSTDIR\\|; s|$|"|'
) >"$filelist"
setup=$dist/Huesplinter-$version-setup.exe
makensis -V2 -DVERSION="$version" -DSTAGE="$stage" -DOUTFILE="$setup" -DFILELIST="$filelist" \
  packaging/windows/huesplinter.nsi
echo "package-windows.sh: $setup"

[ "$check" = yes ] || exit 0
bash scripts/windows-package-check.sh "$zip_file" "$setup"

#!/usr/bin/env bash
# Makes the Windows installer from a Windows build: stages the programs, the DLLs they load
# (found by following their imports), Qt's plugins, ombrel.omf and the manual, builds
# BUILD/ombrel-setup-VERSION.exe with makensis, then installs it silently (/S) into a fresh Wine
# prefix and checks the installed program from there (scripts/windows/smoke.sh), leaving a
# picture of its window in BUILD/smoke.png.
# Usage: scripts/windows/installer.sh BUILD QT-PREFIX GCC-RUNTIME-DIR
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=$(cd "$1" && pwd) qt=$2 gcc_runtime=$3
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
stage="$build/stage"
setup="$build/ombrel-setup-$version.exe"

rm -rf "$stage"
mkdir -p "$stage"
cp "$build/src/ombrel.exe" "$build/tools/ombrel-pack.exe" "$build/src/ombrel.omf" "$stage/"
cp -r "$build/src/manual" "$stage/manual"
# The plugins a window needs: the platform, the native style and the icons (.ico). Printing on
# Windows is part of Qt's print support library itself.
for plugin in platforms/qwindows.dll styles/qwindowsvistastyle.dll imageformats/qico.dll; do
  mkdir -p "$stage/$(dirname "$plugin")"
  cp "$qt/plugins/$plugin" "$stage/$plugin"
done

# Every DLL the programs and plugins import, and the DLLs those import, from Qt, the compiler's
# runtime and MinGW's own folder; the system's DLLs are found in none of them.
search=("$qt/bin" "$gcc_runtime" /usr/x86_64-w64-mingw32/lib)
pending=("$stage"/*.exe "$stage"/*/*.dll)
while ((${#pending[@]})); do
  file=${pending[0]}
  pending=("${pending[@]:1}")
  while read -r dll; do
    [[ -e "$stage/$dll" ]] && continue
    for dir in "${search[@]}"; do
      if [[ -f "$dir/$dll" ]]; then
        cp "$dir/$dll" "$stage/$dll"
        pending+=("$stage/$dll")
        break
      fi
    done
  done < <(x86_64-w64-mingw32-objdump -p "$file" | sed -n 's/^\s*DLL Name: //p')
done
x86_64-w64-mingw32-strip --strip-unneeded "$stage"/*.exe "$stage"/*.dll "$stage"/*/*.dll
cp "$build/icons/ombrel.ico" "$stage/ombrel.ico"

# The installer's File lines and the uninstaller's Delete lines, for exactly these files.
(
  cd "$stage"
  current=
  find . -type f ! -name '*.nsh' ! -name ombrel.ico | sed 's|^\./||' | sort | while read -r file; do
    dir=$(dirname "$file")
    if [[ "$dir" != "$current" ]]; then
      current=$dir
      if [[ "$dir" == . ]]; then
        # shellcheck disable=SC2016 # NSIS's own variable
        echo 'SetOutPath "$INSTDIR"'
      else
        echo "SetOutPath \"\$INSTDIR\\${dir//\//\\}\""
      fi
    fi
    echo "File \"$stage/$file\""
  done >files.nsh
  find . -type f ! -name '*.nsh' ! -name ombrel.ico | sed 's|^\./||' | sort |
    while read -r file; do echo "Delete \"\$INSTDIR\\${file//\//\\}\""; done >unfiles.nsh
  find . -mindepth 1 -type d | sed 's|^\./||' | sort -r |
    while read -r dir; do echo "RMDir \"\$INSTDIR\\${dir//\//\\}\""; done >>unfiles.nsh
)
makensis -V2 -DVERSION="$version" -DSTAGE="$stage" -DOUTFILE="$setup" \
  "$root/packaging/windows/ombrel.nsi"
echo "Installer: $setup ($(du -h "$setup" | cut -f1))"

bash "$here/smoke.sh" "$setup" "$version" "$build/smoke.png"

#!/usr/bin/env bash
# Builds <build>/quilloa-<version>-setup.exe from the program folder of a Windows build: the
# program, its DLLs, plugins and translations are staged apart from the tests and Wine files,
# and the uninstaller is given the list of exactly those files.
set -euo pipefail
here=$(dirname "$(realpath "$0")")
build=$(realpath "${1:?build folder}")
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
stage="$build/installer/stage"
rm -rf "$build/installer" && mkdir -p "$stage"
cd "$build"
cp quilloa.exe qt.conf ./*.dll "$stage/"
rm -f "$stage/Qt6Test.dll"
for kind in platforms styles sqldrivers imageformats iconengines translations; do
  cp -r "$kind" "$stage/"
done
x86_64-w64-mingw32-strip "$stage"/quilloa.exe
cd "$stage"
{
  find . -type f | sort | sed 's|^\./||; s|/|\\|g; s|^|  Delete "$INSTDIR\\|; s|$|"|'
  find . -mindepth 1 -type d | sort -r | sed 's|^\./||; s|/|\\|g; s|^|  RMDir "$INSTDIR\\|; s|$|"|'
} > "$build/installer/uninstall-files.nsh"
makensis -V2 -INPUTCHARSET UTF8 -X"!addincludedir $build/installer" -DVERSION="$version" \
  -DSTAGE="$stage" -DOUTFILE="$build/quilloa-$version-setup.exe" "$here/quilloa.nsi"
echo "Built $build/quilloa-$version-setup.exe"

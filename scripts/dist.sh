#!/bin/bash
# Builds the package to hand to someone: build/dist/LumivexaSE-VERSION-win32.zip with
# the program, the converter, the help, a read-me, the libexif DLL with its source
# and the files that build it, and the licences of the program and of every library inside; then starts the program from the
# unpacked package in a clean Wine prefix (scripts/dist-check.sh).
set -euo pipefail
source "$(dirname "$0")/common.sh"

"$LUMIVEXA_ROOT/scripts/setup.sh"
"$LUMIVEXA_ROOT/scripts/build-mingw-exif.sh" i686
lumivexa_build win32 LumivexaSE lumivexa-cli help_file dist_start_check

version=$(sed -n 's/^project(LumivexaSE VERSION \([0-9.]*\).*/\1/p' "$LUMIVEXA_ROOT/CMakeLists.txt")
[ -n "$version" ] || die "no version in CMakeLists.txt"
name=LumivexaSE-$version-win32
bin=$LUMIVEXA_ROOT/build/win32/bin
src=$LUMIVEXA_CACHE/mingw-deps/src
out=$LUMIVEXA_ROOT/build/dist
stage=$out/$name

# The newest source folder (a pattern ending in /) or file of the cache.
newest() { ls -d "$src"/$1 2>/dev/null | sort -V | tail -n1; }
say "packaging $name"
rm -rf "$stage" "$out/$name.zip"
mkdir -p "$stage/licences" "$stage/source/libexif/build/libexif"
cp "$bin/LumivexaSE.exe" "$bin/lumivexa-cli.exe" "$bin/LumivexaSE.chm" "$bin/libexif-12.dll" "$stage/"
i686-w64-mingw32-strip "$stage"/*.exe "$stage"/*.dll   # the debugging information stays in the build
sed "s/@VERSION@/$version/" "$LUMIVEXA_ROOT/scripts/dist-readme.txt" | sed 's/$/\r/' > "$stage/README.txt"

jpeg=$(newest 'libjpeg-turbo-[0-9]*/') tiff=$(newest 'tiff-[0-9]*/') png=$(newest 'libpng*-[0-9]*/')
exif=$(newest 'libexif-[0-9]*/')
[ -n "$jpeg" ] && [ -n "$tiff" ] && [ -n "$png" ] && [ -n "$exif" ] || die "library sources missing under $src"
sed 's/$/\r/' "$LUMIVEXA_ROOT/LICENSE" > "$stage/licences/LumivexaSE.txt"
cat "$jpeg/LICENSE.md" "$jpeg/README.ijg" > "$stage/licences/libjpeg-turbo.txt"
cp "$tiff/LICENSE.md" "$stage/licences/libtiff.txt"
cp "$png/LICENSE" "$stage/licences/libpng.txt"
cp /usr/share/doc/libz-mingw-w64-dev/copyright "$stage/licences/zlib.txt"
cp "$exif/COPYING" "$stage/licences/libexif.txt"
cp /usr/share/doc/mingw-w64-i686-dev/copyright "$stage/licences/mingw-w64-runtime.txt"
cp "$(newest 'libexif_*.orig.tar.*')" "$(newest 'libexif_*.debian.tar.*')" "$stage/source/libexif/"
# The files that make the DLL from that source, so that a user can rebuild it.
build=$stage/source/libexif/build
cp "$LUMIVEXA_ROOT/cmake/LibexifDll.cmake" "$build/"
cp "$LUMIVEXA_ROOT/scripts/dist-libexif-build.txt" "$build/CMakeLists.txt"
cp "$LUMIVEXA_ROOT/build/win32/libexif-build/config.h" "$build/"
cp "$LUMIVEXA_ROOT/build/win32/libexif-build/libexif/_stdint.h" "$build/libexif/"

(cd "$out" && zip -q -r -X "$name.zip" "$name")
say "checking $out/$name.zip in a clean Wine prefix"
"$LUMIVEXA_ROOT/scripts/dist-check.sh" "$out/$name.zip" "$bin/dist_start_check.exe"
echo "$out/$name.zip"

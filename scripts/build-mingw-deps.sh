#!/bin/bash
# Cross-builds static libjpeg-turbo (6b API), libpng and libtiff for mingw-w64 from
# Debian's own source packages into the machine cache, once per architecture.
# Usage: scripts/build-mingw-deps.sh [i686|x86_64 ...]   (default: i686)
# Result: $LUMIVEXA_CACHE/mingw-deps/<triplet>/{include,lib}; a stamp file holding
# this script's hash marks a finished build, so a rerun returns at once.
set -euo pipefail
source "$(dirname "$0")/common.sh"
[ $# -gt 0 ] || set -- i686

stamp=$(sha256sum "$0" | cut -d' ' -f1)
built() { [ "$(cat "$(mingw_deps_prefix "$1")/.built" 2>/dev/null)" = "$stamp" ]; }
todo=()
for arch; do
  case $arch in i686|x86_64) ;; *) die "unknown architecture '$arch' (i686 or x86_64)" ;; esac
  built "$arch" || todo+=("$arch")
done
[ ${#todo[@]} -gt 0 ] || exit 0

"$LUMIVEXA_ROOT/scripts/setup.sh"
top=$LUMIVEXA_CACHE/mingw-deps
mkdir -p "$top/src"
exec 9>"$top/.lock"
flock 9   # one build per machine at a time; a waiting run then finds the work done

# apt-get source needs deb-src entries; derive them from the binary entries once.
if ! ls /var/lib/apt/lists/*_source_Sources* >/dev/null 2>&1; then
  if ! grep -qs '^Types:.*deb-src' /etc/apt/sources.list.d/*.sources &&
     ! grep -qs '^deb-src' /etc/apt/sources.list /etc/apt/sources.list.d/*.list; then
    if [ -f /etc/apt/sources.list.d/debian.sources ]; then
      sed 's/^Types:.*/Types: deb-src/' /etc/apt/sources.list.d/debian.sources \
        > /etc/apt/sources.list.d/debian-src.sources
    else
      sed -n 's/^deb /deb-src /p' /etc/apt/sources.list > /etc/apt/sources.list.d/debian-src.list
    fi
  fi
  apt-get update -q
fi

# Sources with Debian's patches applied; the suite suffix avoids the security suite's 404s.
src() { ls -d "$top/src/$1"-[0-9]*/ 2>/dev/null | sort -V | tail -n1; }
if [ -z "$(src libjpeg-turbo)" ] || [ -z "$(src libpng1.6)" ] || [ -z "$(src tiff)" ]; then
  (cd "$top/src" && apt-get source -q libjpeg-turbo/bookworm libpng1.6/bookworm tiff/bookworm)
fi
jpeg_src=$(src libjpeg-turbo) png_src=$(src libpng1.6) tiff_src=$(src tiff)

for arch in "${todo[@]}"; do
  built "$arch" && continue
  triplet=$arch-w64-mingw32 sys=/usr/$arch-w64-mingw32
  prefix=$(mingw_deps_prefix "$arch") work=$top/build/$triplet
  say "building mingw libraries for $triplet"
  rm -rf "$prefix" "$work" && mkdir -p "$prefix" "$work"
  build() {  # name source-dir extra-cmake-args...
    local name=$1 dir=$2; shift 2
    cmake -S "$dir" -B "$work/$name" -G Ninja -Wno-dev \
      -DCMAKE_TOOLCHAIN_FILE="$LUMIVEXA_ROOT/cmake/toolchain-mingw-$arch.cmake" -DLUMIVEXA_DEPS="$prefix" \
      -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" -DBUILD_SHARED_LIBS=OFF "$@" >/dev/null
    cmake --build "$work/$name" -j"$LUMIVEXA_JOBS" >/dev/null
    cmake --install "$work/$name" >/dev/null
  }
  zlib=(-DZLIB_INCLUDE_DIR="$sys/include" -DZLIB_LIBRARY="$sys/lib/libz.a")
  build jpeg "$jpeg_src" -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_TURBOJPEG=OFF \
    -DWITH_SIMD=ON -DREQUIRE_SIMD=ON
  build png "$png_src" "${zlib[@]}" -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_EXECUTABLES=OFF -DPNG_TESTS=OFF
  build tiff "$tiff_src" "${zlib[@]}" -DJPEG_INCLUDE_DIR="$prefix/include" -DJPEG_LIBRARY="$prefix/lib/libjpeg.a" \
    -Dtiff-tools=OFF -Dtiff-tests=OFF -Dtiff-contrib=OFF -Dtiff-docs=OFF -Dcxx=OFF \
    -Dzlib=ON -Djpeg=ON -Dccitt=ON -Dlzw=ON -Dlibdeflate=OFF -Djpeg12=OFF -Dwebp=OFF \
    -Dzstd=OFF -Dlzma=OFF -Djbig=OFF -Dlerc=OFF -Dtiff-opengl=OFF
  rm -rf "$prefix/bin" "$prefix/share" "$work"   # libjpeg-turbo always builds its tools; drop them
  ls "$prefix"/lib/lib{jpeg,png16,tiff}.a >/dev/null   # FindJPEG accepts a library path that does not exist
  for codec in CCITT LZW ZIP JPEG; do   # fail loudly if a codec got silently dropped
    grep -q "^#define ${codec}_SUPPORT 1" "$prefix/include/tiffconf.h" || die "$triplet: libtiff lacks $codec"
  done
  echo "$stamp" > "$prefix/.built"
  say "$triplet done: $(du -sh "$prefix" | cut -f1) in $prefix"
done

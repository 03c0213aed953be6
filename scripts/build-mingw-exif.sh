#!/bin/bash
# Cross-builds static libexif for mingw-w64 from Debian's source package into the
# same cache prefix as scripts/build-mingw-deps.sh, once per architecture, under
# that script's lock. It has its own stamp, so the other libraries stay as built.
# Usage: scripts/build-mingw-exif.sh [i686|x86_64 ...]   (default: i686)
set -euo pipefail
source "$(dirname "$0")/common.sh"
[ $# -gt 0 ] || set -- i686

stamp=$(sha256sum "$0" | cut -d' ' -f1)
built() { [ "$(cat "$(mingw_deps_prefix "$1")/.built-exif" 2>/dev/null)" = "$stamp" ]; }
todo=()
for arch; do
  case $arch in i686|x86_64) ;; *) die "unknown architecture '$arch' (i686 or x86_64)" ;; esac
  built "$arch" || todo+=("$arch")
done
[ ${#todo[@]} -gt 0 ] || exit 0

"$LUMIVEXA_ROOT/scripts/build-mingw-deps.sh" "${todo[@]}"   # the prefix, deb-src entries
top=$LUMIVEXA_CACHE/mingw-deps
exec 9>"$top/.lock"
flock 9

src=$(ls -d "$top/src/libexif"-[0-9]*/ 2>/dev/null | sort -V | tail -n1 || true)
if [ -z "$src" ]; then
  (cd "$top/src" && apt-get source -q libexif/bookworm)
  src=$(ls -d "$top/src/libexif"-[0-9]*/ | sort -V | tail -n1)
fi

for arch in "${todo[@]}"; do
  built "$arch" && continue
  triplet=$arch-w64-mingw32 prefix=$(mingw_deps_prefix "$arch") work=$top/build/$triplet-exif
  say "building libexif for $triplet"
  rm -rf "$work" && mkdir -p "$work"
  # Plain C without a configure step (the source package has no generated
  # configure script): compile every source, no translations.
  printf '#define GETTEXT_PACKAGE "libexif-12"\n#define LOCALEDIR ""\n' > "$work/config.h"
  mkdir -p "$work/libexif" && printf '#include <stdint.h>\n' > "$work/libexif/_stdint.h"
  (cd "$work" && "$triplet-gcc-posix" -O2 -c -I"$work" -I"$src" "$src"/libexif/*.c "$src"/libexif/*/*.c &&
   "$triplet-ar" rcs libexif.a ./*.o)
  mkdir -p "$prefix/include/libexif" "$prefix/lib"
  cp "$work/libexif.a" "$prefix/lib/"
  cp "$work/libexif/_stdint.h" "$prefix/include/libexif/"
  for h in byte-order content data data-type entry format ifd loader log mem mnote-data tag utils; do
    cp "$src/libexif/exif-$h.h" "$prefix/include/libexif/"
  done
  rm -rf "$work"
  ls "$prefix/lib/libexif.a" "$prefix/include/libexif/exif-data.h" >/dev/null
  echo "$stamp" > "$prefix/.built-exif"
done

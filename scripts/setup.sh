#!/bin/bash
# Installs every Debian package the builds, tests and Wine runs need (Debian 12, as root).
# A warm run only asks dpkg and returns; apt is touched only when something is missing.
set -euo pipefail

packages=(
  make cmake ninja-build g++ clang libclang-rt-14-dev
  libgtest-dev googletest libbenchmark-dev
  libjpeg62-turbo-dev libtiff-dev libpng-dev zlib1g-dev libexif-dev libcli11-dev nlohmann-json3-dev nettle-dev
  g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix binutils-mingw-w64-i686 binutils-mingw-w64-x86-64
  libz-mingw-w64-dev nasm dpkg-dev fp-utils
  wine wine32:i386 wine64 fonts-wine
  xvfb xauth x11-utils x11-apps xdotool imagemagick graphicsmagick ghostscript poppler-utils libimage-exiftool-perl parallel gddrescue
)

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${db:Status-Status}' "$p" 2>/dev/null || true)
  [[ $status == installed* ]] || missing+=("$p")
done
[ ${#missing[@]} -gt 0 ] || exit 0

[ "$(id -u)" = 0 ] || { echo "setup.sh: missing packages (${missing[*]}); run as root" >&2; exit 1; }
echo "== installing ${missing[*]}" >&2
export DEBIAN_FRONTEND=noninteractive
need_update=false
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386   # for wine32
  need_update=true
fi
ls /var/lib/apt/lists/*_Packages* >/dev/null 2>&1 || need_update=true
ls /var/lib/apt/lists/*i386_Packages* >/dev/null 2>&1 || need_update=true
install() { apt-get install -y -q --no-install-recommends "${missing[@]}"; }
if $need_update; then
  apt-get update -q
  install
else
  install || { apt-get update -q && install; }   # stale package lists: refresh once and retry
fi

#!/bin/bash
# Builds without testing. Usage: scripts/build.sh [native|sanitize|win32|win64 ...]
# (default: native, the sample disc, sanitize and win32).
set -euo pipefail
source "$(dirname "$0")/common.sh"
[ $# -gt 0 ] || set -- native sanitize win32

"$LUMIVEXA_ROOT/scripts/setup.sh"
for name; do
  case $name in
    win32) "$LUMIVEXA_ROOT/scripts/build-mingw-exif.sh" i686 ;;
    win64) "$LUMIVEXA_ROOT/scripts/build-mingw-exif.sh" x86_64 ;;
  esac
  lumivexa_build "$name"
  [ "$name" != native ] || lumivexa_build_sample_disc
done

#!/bin/bash
# Writes cli/srgb.icc, the sRGB profile exported files embed, with Little CMS
# (liblcms2-dev). Run it only to replace the committed profile.
set -euo pipefail
source "$(dirname "$0")/common.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cat > "$work/make.c" <<'C'
#include <lcms2.h>
#include <stdio.h>
#include <stdlib.h>
int main(void) {
  cmsHPROFILE profile = cmsCreate_sRGBProfile();
  cmsUInt32Number size = 0;
  if (!profile || !cmsSaveProfileToMem(profile, NULL, &size)) return 1;
  void* bytes = malloc(size);
  if (!bytes || !cmsSaveProfileToMem(profile, bytes, &size)) return 1;
  return fwrite(bytes, 1, size, stdout) == size ? 0 : 1;
}
C
cc "$work/make.c" -llcms2 -o "$work/make"
"$work/make" > "$LUMIVEXA_ROOT/cli/srgb.icc"
say "wrote cli/srgb.icc ($(stat -c %s "$LUMIVEXA_ROOT/cli/srgb.icc") bytes)"

#!/bin/bash
# Runs one Windows program under Wine: the crosscompiling emulator that ctest uses
# in the Windows builds. Needs a session from scripts/wine-env.sh (scripts/test.sh
# makes one; by hand: scripts/wine-env.sh ctest --test-dir build/win32).
# LUMIVEXA_WINE_TIMEOUT caps one run in seconds (default 300).
set -u
exe=$1; shift
if [ -z "${WINEPREFIX:-}" ] || [ -z "${DISPLAY:-}" ]; then
  echo "wine-run.sh: no Wine session; run through scripts/wine-env.sh" >&2
  exit 2
fi
export WINEDEBUG=${WINEDEBUG:--all}
# The PE header's machine field picks the loader: 0x8664 is x86_64, anything else 32-bit.
pe_offset=$(od -An -tu4 -j60 -N4 "$exe" | tr -d ' ')
machine=$(od -An -tx2 -j$((pe_offset + 4)) -N2 "$exe" | tr -d ' ')
wine=/usr/lib/wine/wine
[ "$machine" = 8664 ] && wine=/usr/lib/wine/wine64
exec timeout -k 5 "${LUMIVEXA_WINE_TIMEOUT:-300}" "$wine" "$exe" "$@"

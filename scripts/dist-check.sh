#!/bin/bash
# Unpacks a package into a fresh Wine prefix of its own, on a virtual display,
# and starts its programs there (tests/dist/dist_start_check_win.cpp): nothing of the
# build or of the test prefixes can help them.
# Usage: scripts/dist-check.sh PACKAGE.zip CHECK.exe
set -euo pipefail
source "$(dirname "$0")/wine-env.sh"
zip=$1 check=$2

work=$(mktemp -d)
cleanup() { lumivexa_wine_stop; rm -rf "$work"; }
trap cleanup EXIT
lumivexa_start_xvfb
export WINEPREFIX=$work/prefix WINEDEBUG=-all
lumivexa_make_prefix
"$LUMIVEXA_WINESERVER" -p </dev/null >/dev/null 2>&1
LUMIVEXA_WINESERVER_UP=1

unzip -q "$zip" -d "$WINEPREFIX/drive_c"
folder=$(basename "$zip" .zip)
cp "$check" "$WINEPREFIX/drive_c/"
timeout -k 5 120 "$LUMIVEXA_WINE" "C:\\$(basename "$check")" "C:\\$folder"

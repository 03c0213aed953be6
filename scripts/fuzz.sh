#!/bin/bash
# Fuzzes one libFuzzer target of the sanitize build for longer than ctest's brief run.
# Usage: scripts/fuzz.sh NAME [SECONDS]   (default 600 s)
# New inputs collect in build/sanitize/fuzz-work/NAME/corpus; crashes are written
# there too. Shrink a crash (NAME -minimize_crash=1 FILE) and keep it in the target's
# crashers folder so every test run replays it.
set -euo pipefail
source "$(dirname "$0")/common.sh"
[ $# -ge 1 ] || die "usage: scripts/fuzz.sh NAME [SECONDS]"
name=$1 seconds=${2:-600}
"$LUMIVEXA_ROOT/scripts/setup.sh"
lumivexa_build sanitize "$name"
work=$LUMIVEXA_ROOT/build/sanitize/fuzz-work/$name
[ -f "$work/seed-dir" ] || die "$name is not a fuzz target (see lumivexa_add_fuzzer)"
exec "$LUMIVEXA_ROOT/scripts/run-fuzzer.sh" "$LUMIVEXA_ROOT/build/sanitize/bin/$name" \
  "$(cat "$work/seed-dir")" "$work" "$seconds" "$(cat "$work/max-len" 2>/dev/null)"

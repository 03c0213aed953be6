#!/bin/bash
# Checks the include layering (scripts/check-layers.py), then builds and tests
# everything: build/native (g++), build/sanitize (clang with ASan and
# UBSan, brief fuzzing) and build/win32 (mingw-w64, tests under Wine on a virtual display).
# Keeps going after a failing suite; the last line is always "N passed, N failed" over
# all suites. Exits non-zero when anything failed or no test ran at all.
set -uo pipefail
source "$(dirname "$0")/common.sh"
source "$LUMIVEXA_ROOT/scripts/wine-env.sh"
trap lumivexa_wine_stop EXIT
trap 'exit 130' INT TERM

summary=() passed=0 failed=0

# record SUITE PASSED FAILED [NOTE]
record() {
  summary+=("$(printf '%-9s %4d passed, %d failed%s' "$1:" "$2" "$3" "${4:+ ($4)}")")
  passed=$((passed + $2)) failed=$((failed + $3))
}

# run_suite NAME [JOBS]: ctest in build/NAME, counted from ctest's own summary line.
run_suite() {
  local name=$1 jobs=${2:-$LUMIVEXA_JOBS} log=$LUMIVEXA_ROOT/build/$1/ctest.log rc line total bad
  say "testing $name"
  ctest --test-dir "$LUMIVEXA_ROOT/build/$name" --output-on-failure -j"$jobs" 2>&1 | tee "$log"
  rc=${PIPESTATUS[0]}
  line=$(grep -E '[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n1)
  if [ -n "$line" ]; then
    bad=$(sed -E 's/.* ([0-9]+) tests? failed out of.*/\1/' <<<"$line")
    total=$(sed -E 's/.*out of ([0-9]+).*/\1/' <<<"$line")
    if [ "$rc" != 0 ] && [ "$bad" = 0 ]; then bad=1; fi   # ctest failed outside the tests
    record "$name" $((total - bad)) "$bad"
  elif [ "$rc" != 0 ]; then
    record "$name" 0 1 "ctest failed, see $log"
  else
    record "$name" 0 0 "no tests"
  fi
}

"$LUMIVEXA_ROOT/scripts/setup.sh" || { echo "0 passed, 1 failed"; exit 1; }

# Which folder may include which, counted as one test.
say "checking layers"
if python3 "$LUMIVEXA_ROOT/scripts/check-layers.py"; then record layers 1 0; else record layers 0 1; fi

if lumivexa_build native; then
  lumivexa_build_sample_disc || record sample-disc 0 1 "build failed"
  run_suite native
else
  record native 0 1 "build failed"
fi

if lumivexa_build sanitize; then run_suite sanitize; else record sanitize 0 1 "build failed"; fi

if "$LUMIVEXA_ROOT/scripts/build-mingw-exif.sh" i686 && lumivexa_build win32; then
  # Always a fresh virtual display, whatever DISPLAY says, so results do not depend on the desktop.
  if LUMIVEXA_XVFB=1 lumivexa_wine_start; then
    # One test at a time: every Wine program shares one desktop, and dialogs,
    # activation and focus are desktop-wide.
    run_suite win32 1
    lumivexa_wine_stop
  else
    record win32 0 1 "no Wine session"
  fi
else
  record win32 0 1 "build failed"
fi

echo
printf '%s\n' "${summary[@]}"
echo "$passed passed, $failed failed"
[ "$failed" = 0 ] && [ "$passed" -gt 0 ]

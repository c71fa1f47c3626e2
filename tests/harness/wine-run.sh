#!/usr/bin/env bash
# Runs a Windows program of the build tree under the test prefix and display.
# Used as CMAKE_CROSSCOMPILING_EMULATOR, so ctest and gtest discovery go through it.
set -u
if [ -z "${KPV_BUILD_DIR:-}" ]; then
  d=$(cd "$(dirname "$1")" && pwd)
  while [ "$d" != / ] && [ ! -f "$d/CMakeCache.txt" ]; do d=$(dirname "$d"); done
  KPV_BUILD_DIR=$d
fi
export KPV_BUILD_DIR
. "$(dirname "$0")/wine-env.sh" || exit 1

# Now and then a start fails inside Wine before the program has run at all: no output, a failing status,
# in well under the time even an empty test run takes. Such a start is tried once more, and said so;
# a program that ran and failed is never run again.
started=$(date +%s%N)
"$WINE64" "$@"
status=$?
elapsed_ms=$(( ($(date +%s%N) - started) / 1000000 ))
if [ "$status" -ne 0 ] && [ "$elapsed_ms" -lt 100 ]; then
  echo "wine-run: $1 did not run (status $status after $elapsed_ms ms); starting it once more" >&2
  "$WINE64" "$@"
  status=$?
fi
[ "$status" -eq 0 ] || echo "wine-run: $1 ended with status $status" >&2
exit "$status"

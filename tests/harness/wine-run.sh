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
exec "$WINE64" "$@"

#!/usr/bin/env bash
# in_prefix_copy.sh BUILD_DIR PROGRAM [ARGS...]: runs a Windows program in a throw-away copy of the test
# prefix with a wineserver of its own. A setup program writes into System32, HKLM and the chosen screen
# saver; in a copy none of that can reach the shared prefix, even when a run is killed half way.
set -u
KPV_BUILD_DIR=$(cd "${1:?build dir}" && pwd -P)
export KPV_BUILD_DIR
shift
. "$(dirname "$0")/../harness/wine-env.sh"

[ -f "$WINEPREFIX/.kpv-ready" ] || { echo "no test prefix in $WINEPREFIX: start the wine session first" >&2; exit 1; }
scratch_root="$KPV_BUILD_DIR/prefix-copies"
# One copy per program: a run that was killed leaves at most this one behind, and the next run clears it.
copy="$scratch_root/$(basename "$1" .exe)"

remove_copy() {
  [ -d "$copy/wineprefix" ] || return 0
  WINEPREFIX="$copy/wineprefix" "$WINESERVER" -k 2>/dev/null
  WINEPREFIX="$copy/wineprefix" "$WINESERVER" -w 2>/dev/null
  # Only ever the folder named above, by its resolved path; rm removes links and never enters them.
  local real
  real=$(realpath -e -- "$copy") || return 0
  case "$real" in "$scratch_root"/?*) rm -rf -- "$real" ;; esac
}
remove_copy
trap remove_copy EXIT
trap 'exit 143' TERM INT

mkdir -p "$copy" && cp -a "$WINEPREFIX" "$copy/wineprefix" || exit 1
export WINEPREFIX="$copy/wineprefix"
"$WINESERVER" -p30 </dev/null >/dev/null 2>&1
# The first client decides which pipes Wine's own services inherit: give it none.
"$WINE64" cmd /c exit </dev/null >/dev/null 2>&1
"$WINE64" "$@"

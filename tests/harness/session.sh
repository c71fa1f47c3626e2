#!/usr/bin/env bash
# start | stop: the Xvfb screen and the persistent wineserver that Windows tests run on.
# The prefix lives in the build tree; it is created once and reused.
set -u
cmd=$1
export KPV_BUILD_DIR=${2:?build dir}
here=$(cd "$(dirname "$0")" && pwd)
state="$KPV_BUILD_DIR/harness"
mkdir -p "$state"
. "$here/wine-env.sh"

start_xvfb() {
  # The demo may ask to use the display it was started on instead of a private Xvfb.
  if [ -n "${KPV_USE_DISPLAY:-}" ]; then echo "$KPV_USE_DISPLAY" >"$state/display"; rm -f "$state/xvfb.pid"; return 0; fi
  if [ -f "$state/xvfb.pid" ] && kill -0 "$(cat "$state/xvfb.pid")" 2>/dev/null; then return 0; fi
  for n in $(seq 91 140); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp -ac </dev/null >"$state/xvfb.log" 2>&1 &
    echo $! >"$state/xvfb.pid"
    for _ in $(seq 1 50); do
      [ -e "/tmp/.X11-unix/X$n" ] && { echo ":$n" >"$state/display"; return 0; }
      kill -0 "$(cat "$state/xvfb.pid")" 2>/dev/null || break
      sleep 0.1
    done
  done
  echo "could not start Xvfb" >&2
  return 1
}

make_prefix() {
  [ -f "$WINEPREFIX/.kpv-ready" ] && return 0
  # A half-made prefix goes, but only the build tree's own, never what a link points at.
  if [ -e "$WINEPREFIX" ] || [ -L "$WINEPREFIX" ]; then
    local real
    real=$(realpath -e "$WINEPREFIX") || { echo "cannot resolve $WINEPREFIX" >&2; return 1; }
    if [ -L "$WINEPREFIX" ] || [ "$real" != "$(realpath -e "$KPV_BUILD_DIR")/wineprefix" ]; then
      echo "refusing to delete $real" >&2
      return 1
    fi
    rm -rf --one-file-system -- "$real"
  fi
  "$WINE64" wineboot -i </dev/null >"$state/wineboot.log" 2>&1
  "$WINESERVER" -w
  # A crash must end the process, not open winedbg's dialog and hang the run.
  "$WINE64" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f </dev/null >/dev/null 2>&1
  "$WINESERVER" -w
  touch "$WINEPREFIX/.kpv-ready"
}

case "$cmd" in
  start)
    start_xvfb || exit 1
    DISPLAY=$(cat "$state/display"); export DISPLAY
    make_prefix || exit 1
    "$WINESERVER" -p120 </dev/null >/dev/null 2>&1
    # The first client decides which pipes Wine's own services inherit: give it none.
    "$WINE64" cmd /c exit </dev/null >/dev/null 2>&1
    echo "wine session on $DISPLAY, prefix $WINEPREFIX"
    ;;
  stop)
    "$WINESERVER" -k 2>/dev/null
    if [ -f "$state/xvfb.pid" ]; then kill "$(cat "$state/xvfb.pid")" 2>/dev/null; rm -f "$state/xvfb.pid" "$state/display"; fi
    ;;
  *) echo "usage: $0 start|stop BUILD_DIR" >&2; exit 2 ;;
esac

#!/usr/bin/env bash
# Environment shared by every Wine run of the build tree. Sourced, not run.
# KPV_BUILD_DIR must point at the build tree (the wrapper derives it when unset).
: "${KPV_BUILD_DIR:?KPV_BUILD_DIR must be set}"
export WINEPREFIX="$KPV_BUILD_DIR/wineprefix"
export WINEDEBUG="${KPV_WINEDEBUG:--all}"
export WINEDLLOVERRIDES="mscoree,mshtml="
export LANG=ja_JP.UTF-8
export LC_ALL=ja_JP.UTF-8
WINE64=/usr/lib/wine/wine64
[ -x "$WINE64" ] || WINE64=$(command -v wine64 || echo wine64)
WINESERVER=/usr/lib/wine/wineserver64
[ -x "$WINESERVER" ] || WINESERVER=$(command -v wineserver || echo wineserver)
export WINE64 WINESERVER
if [ -f "$KPV_BUILD_DIR/harness/display" ]; then
  DISPLAY=$(cat "$KPV_BUILD_DIR/harness/display")
  export DISPLAY
fi
# A test that needs several monitors or another DPI names its session (display-session.sh), whose prefix
# and display then replace the ordinary ones. A missing session is an error, never a silent fallback.
if [ -n "${KPV_SESSION:-}" ]; then
  if [ ! -f "$KPV_BUILD_DIR/harness/sessions/$KPV_SESSION/env" ]; then
    echo "wine session $KPV_SESSION is not running (display-session.sh start)" >&2
    return 1
  fi
  . "$KPV_BUILD_DIR/harness/sessions/$KPV_SESSION/env"
fi

#!/usr/bin/env bash
# Runs the show on real photos under Wine: on this display when there is one, else on a private Xvfb,
# and saves a screenshot of it in build/demo-screenshot.png.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build/windows"
harness="$root/tests/harness"
export KPV_BUILD_DIR="$build"

pictures=/usr/share/backgrounds/mate
[ -d "$pictures" ] || { echo "sample pictures missing: $pictures (package mate-backgrounds)"; exit 1; }

if [ -n "${DISPLAY:-}" ]; then export KPV_USE_DISPLAY="$DISPLAY"; fi
"$harness/session.sh" start "$build"
. "$harness/wine-env.sh"
trap '"$harness/session.sh" stop "$build"' EXIT

reg() { "$WINE64" reg add 'HKCU\Software\Tarnel Software\KPV\Settings' "$@" /f >/dev/null 2>&1; }
# Point the settings at the photos: subfolders included, 3 s per picture, random transitions and effects.
reg /v Path /t REG_SZ /d 'Z:\usr\share\backgrounds\mate\'
reg /v SubFolder /t REG_BINARY /d 0100
reg /v Interval /t REG_BINARY /d 0300
reg /v BlockSize /t REG_BINARY /d 2000
reg /v Speed /t REG_BINARY /d 00000000
reg /v BackGround /t REG_BINARY /d 0000
reg /v Edit /t REG_BINARY /d 0300
reg /v Case /t REG_BINARY /d 0100

echo "starting the show on $DISPLAY (any key, a click or a mouse move ends it)"
"$WINE64" "$build/KPV.scr" /s </dev/null >/dev/null 2>&1 &
show=$!
sleep 12
if command -v import >/dev/null; then
  import -display "$DISPLAY" -window root "$root/build/demo-screenshot.png" && echo "screenshot: build/demo-screenshot.png"
fi
if [ -z "${KPV_USE_DISPLAY:-}" ]; then
  # Nobody can press a key on a private screen: end the show after the screenshot.
  kill "$show" 2>/dev/null || true
else
  wait "$show" || true
fi

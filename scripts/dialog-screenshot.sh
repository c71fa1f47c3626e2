#!/usr/bin/env bash
# Takes docs/settings-dialog.png: the settings dialog of a built KPV.scr on a Wine virtual desktop (which
# draws the title bar that a bare Xvfb screen lacks), with sample settings in the test prefix.
# Usage: scripts/dialog-screenshot.sh [BUILD_DIR]   (default build/windows; the Windows build must exist)
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
export KPV_BUILD_DIR=$(cd "${1:-$root/build/windows}" && pwd)
"$root/tests/harness/session.sh" start "$KPV_BUILD_DIR" >/dev/null
. "$root/tests/harness/wine-env.sh"

# The caption buttons are drawn with Marlett, which Wine loads only from the prefix's font folder.
fonts="$WINEPREFIX/drive_c/windows/Fonts"
[ -f "$fonts/marlett.ttf" ] || cp /usr/share/wine/fonts/marlett.ttf "$fonts/" 2>/dev/null || true

key='HKCU\Software\Tarnel Software\KPV\Settings'
reg() { "$WINE64" reg add "$key" /f "$@" </dev/null >/dev/null 2>&1; }
reg /v Path /t REG_SZ /d 'C:\users\Public\Pictures\'
reg /v SubFolder /t REG_BINARY /d 0100
reg /v Interval /t REG_BINARY /d 0a00
reg /v Speed /t REG_BINARY /d 64000000
reg /v BlockSize /t REG_BINARY /d 2000
reg /v BackGround /t REG_BINARY /d 0100
reg /v BackColor /t REG_BINARY /d 3070a000
reg /v Edit /t REG_BINARY /d 0200
reg /v Case /t REG_BINARY /d 0100

size=420x370
timeout 20 "$WINE64" explorer /desktop=kpvshot,$size "$KPV_BUILD_DIR/KPV.scr" </dev/null >/dev/null 2>&1 &
runner=$!
sleep 6
mkdir -p "$root/docs"
xwd -root -silent | convert xwd:- -crop "$size+0+0" +repage "$root/docs/settings-dialog.png"
kill "$runner" 2>/dev/null || true
wait "$runner" 2>/dev/null || true
"$WINE64" reg delete 'HKCU\Software\Tarnel Software' /f </dev/null >/dev/null 2>&1 || true
echo "wrote $root/docs/settings-dialog.png"

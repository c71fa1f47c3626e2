#!/usr/bin/env bash
# The CPU a running show costs: the share of one core used by the show process and by the wineserver, while
# `<scr> /s` runs on two 640 x 480 pictures (a picture a second, 32-pixel blocks on the session's screen), at
# Speed 0, 2000 and 20000, for each copy given, side by side in one run.
#   bench/cpu_share_bench.sh BUILD_DIR SECONDS SCR [SCR ...]      e.g. ... build/windows 20 build/windows/KPV.scr
# Run by hand; it starts the build tree's Wine session and writes the program's settings in its prefix.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:?build dir}" && pwd)
seconds=${2:?seconds}
shift 2
export KPV_BUILD_DIR="$build"
"$here/../tests/harness/session.sh" start "$build" >/dev/null
. "$here/../tests/harness/wine-env.sh"
pictures="$build/bench-cpu-pictures"
mkdir -p "$pictures"
for n in 1 2; do
  [ -f "$pictures/p$n.jpg" ] || convert -size 640x480 "plasma:" -quality 90 "$pictures/p$n.jpg"
done
winpath() { echo "Z:$(echo "$1" | tr / '\\')"; }
key='HKCU\Software\Tarnel Software\KPV'
reg() { "$WINE64" reg add "$key\\$1" /v "$2" /t "$3" /d "$4" /f </dev/null >/dev/null 2>&1; }
reg Settings Path REG_SZ "$(winpath "$pictures")\\"
reg Settings SubFolder REG_BINARY 0000
reg Settings Interval REG_BINARY 0100
reg Settings BlockSize REG_BINARY 2000
reg Settings BackGround REG_BINARY 0100
reg Settings Edit REG_BINARY 0000
ticks=$(getconf CLK_TCK)
cpu_of() { awk '{print $14 + $15}' "/proc/$1/stat" 2>/dev/null || echo 0; }
server=$(pgrep -n -f "wineserver" || true)
for speed in 0 2000 20000; do
  hex=$(printf '%08x' "$speed")
  reg Settings Speed REG_BINARY "${hex:6:2}${hex:4:2}${hex:2:2}${hex:0:2}"
  for scr in "$@"; do
    reg Flags Active REG_BINARY 0000
    "$WINE64" "$scr" /s </dev/null >/dev/null 2>&1 &
    sleep 5  # past the start and the first pictures
    pid=$(pgrep -n -f "$(basename "$scr") /s" || true)
    [ -n "$pid" ] || { echo "$scr did not start" >&2; exit 1; }
    show0=$(cpu_of "$pid"); server0=$(cpu_of "$server")
    sleep "$seconds"
    show1=$(cpu_of "$pid"); server1=$(cpu_of "$server")
    kill "$pid" 2>/dev/null || true
    wait 2>/dev/null || true
    awk -v s="$((show1 - show0))" -v w="$((server1 - server0))" -v t="$ticks" -v d="$seconds" -v sp="$speed" \
        -v n="$(basename "$scr")" 'BEGIN { printf "Speed %5d  %-22s show %5.1f %%  wineserver %5.1f %%  together %5.1f %% of a core\n", sp, n, 100*s/t/d, 100*w/t/d, 100*(s+w)/t/d }'
  done
done
reg Flags Active REG_BINARY 0000

#!/usr/bin/env bash
# A file that never arrives, and the end of a run, side by side for KPV.scr and another copy (an earlier
# build, say), in one run on the Xvfb session of the build tree's prefix. Run by hand after
# `cmake --build --preset windows --target bench`:
#   bench/run_end_bench.sh [BUILD_DIR] [OTHER_SCR] [TRIES]
# Pictures are read through tests/harness/slow_share.py, which answers at once except for the files that
# never answer. It writes the settings of the build tree's Wine prefix: run no tests meanwhile.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-$here/../build/windows}" && pwd)
other=${2:-}
tries=${3:-20}
bench_exe="$build/bench/run_end_bench_win.exe"
[ -x "$bench_exe" ] || { echo "missing $bench_exe: build the bench target first" >&2; exit 1; }
work="$build/bench-run-end"
src="$work/src"
mnt="$work/mnt"
markers="$work/markers"
mkdir -p "$src" "$mnt" "$markers"

if [ ! -f "$work/.made" ]; then
  echo "making the pictures ..."
  /usr/bin/python3 - "$src" <<'PY'
import os, struct, sys
root = sys.argv[1]
def bmp(path, w, h, rgb):
    row = bytes([rgb & 0xFF, (rgb >> 8) & 0xFF, rgb >> 16]) * w
    pad = (4 - len(row) % 4) % 4
    data = (row + b"\0" * pad) * h
    with open(path, "wb") as f:
        f.write(b"BM" + struct.pack("<IHHI", 54 + len(data), 0, 0, 54))
        f.write(struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(data), 2835, 2835, 0, 0) + data)
colours = [0xC02020, 0x20C020, 0x2020C0, 0xC0C020]
for folder, names in (("four", "abcd"), ("stuck4", "abc")):
    os.makedirs(os.path.join(root, folder), exist_ok=True)
    for name, colour in zip(names, colours):
        bmp(os.path.join(root, folder, name + ".bmp"), 1024, 768, colour)
os.makedirs(os.path.join(root, "stuck1"), exist_ok=True)
bmp(os.path.join(root, "stuck4", "stuck.bmp"), 1024, 768, 0xF0F0F0)
bmp(os.path.join(root, "stuck1", "stuck.bmp"), 1024, 768, 0xF0F0F0)
os.makedirs(os.path.join(root, "idle"), exist_ok=True)
bmp(os.path.join(root, "idle", "small.bmp"), 320, 240, 0x3070B0)
os.makedirs(os.path.join(root, "decode"), exist_ok=True)
PY
  # A 48-megapixel photo (8000 x 6000), decoded in one piece by Wine's JPEG decoder.
  /usr/bin/python3 -c '
import sys
w, h = 8000, 6000
out = sys.stdout.buffer
out.write(b"P6 %d %d 255\n" % (w, h))
row = bytes((x * 7 + y) & 0xFF for x in range(w) for y in (0, 1, 2))
for y in range(h):
    out.write(row[y % 3:] + row[:y % 3])
' | cjpeg -quality 85 > "$src/decode/photo48mp.jpg"
  touch "$work/.made"
fi

mountpoint -q "$mnt" && fusermount3 -u "$mnt"
/usr/bin/python3 "$here/../tests/harness/slow_share.py" --markers "$markers" --never stuck4/stuck.bmp \
  --never stuck1/stuck.bmp "$src" "$mnt" 0 0 </dev/null >"$work/share.log" 2>&1 &
share=$!
# The share goes first: the reads still waiting in it fail, and the processes left in them end.
cleanup() { kill -KILL "$share" 2>/dev/null || true; sleep 1; fusermount3 -uz "$mnt" 2>/dev/null || true; }
trap cleanup EXIT
for _ in $(seq 1 100); do mountpoint -q "$mnt" && break; sleep 0.1; done

export KPV_BUILD_DIR="$build"
"$here/../tests/harness/session.sh" start "$build" >/dev/null
. "$here/../tests/harness/wine-env.sh"
winpath() { echo "Z:$(echo "$1" | tr / '\\')"; }
copies=("$build/KPV.scr")
[ -n "$other" ] && copies+=("$other")
for scr in "${copies[@]}"; do
  w=$(winpath "$scr")
  echo "== $scr"
  rm -f "$markers"/*
  printf 'changes, four pictures that answer:            '
  "$WINE64" "$bench_exe" changes "$w" "$(winpath "$mnt/four")" 60 </dev/null
  printf 'changes, one of four never answers (from 10 s after it stalled): '
  "$WINE64" "$bench_exe" changes "$w" "$(winpath "$mnt/stuck4")" 60 "$(winpath "$markers/read-stuck4_stuck.bmp")" </dev/null || echo "(none)"
  printf 'idle show:                 '
  "$WINE64" "$bench_exe" end "$w" "$(winpath "$mnt/idle")" "$tries" 1500 </dev/null
  printf 'during a 48 MP decode:     '
  "$WINE64" "$bench_exe" end "$w" "$(winpath "$mnt/decode")" "$tries" 1000 </dev/null
  printf 'a worker stuck in a read:  '
  "$WINE64" "$bench_exe" end "$w" "$(winpath "$mnt/stuck1")" "$tries" 200 "$(winpath "$markers/read-stuck1_stuck.bmp")" </dev/null
done

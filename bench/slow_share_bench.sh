#!/usr/bin/env bash
# The picture scan alone and start -> show window, serial against parallel, side by side in one run: on the
# local disk and through a simulated slow share (tests/harness/slow_share.py, a FUSE passthrough waiting
# 0 ms and 5 ms in each listing and before the first read of each file), on one generated tree of 1,021
# folders and 20,000 files, half of them pictures. Run by hand after `cmake --build --preset windows --target bench`:
#   bench/slow_share_bench.sh [BUILD_DIR] [ROUNDS] [HELPER_COUNTS]     e.g. ... build/windows 5 2,4,8,16
# It writes the picture folder into the settings of the build tree's Wine prefix: run no tests meanwhile.
# KPV_COMPARE_SCR=path/to/another/KPV.scr adds that copy to the start-up figures (an earlier build, say).
# With the native preset's bench target built too (build/native/bench/parallel_walk_bench), it also times
# the walk listing with POSIX calls: Wine lets one process list only one folder at a time, so the Windows
# figures show the helpers' gain on a share only in part.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-$here/../build/windows}" && pwd)
rounds=${2:-5}
helpers=${3:-}
native="$here/../build/native/bench/parallel_walk_bench"
share="$build/bench-share"
tree="$share/tree"
for exe in "$build/KPV.scr" "$build/bench/KPV_serial_scan.scr" "$build/bench/catalogue_bench_win.exe" \
           "$build/bench/show_start_bench_win.exe"; do
  [ -x "$exe" ] || { echo "missing $exe: build the windows preset and its bench target first" >&2; exit 1; }
done
command -v fusermount3 >/dev/null && /usr/bin/python3 -c 'import fusepy' 2>/dev/null ||
  { echo "needs fuse3 and python3-fusepy (scripts/setup-debian.sh installs them)" >&2; exit 1; }

if [ ! -f "$share/.tree-complete" ]; then
  echo "generating $tree ..."
  mkdir -p "$share"
  rm -rf -- "$tree"
  /usr/bin/python3 - "$tree" <<'PY'
import os, struct, sys
root = sys.argv[1]
# A 2x2 24-bit picture, so that the show can open whichever it draws first.
pixels = b"\x00\x00\xff\x00\xff\x00\x00\x00" + b"\xff\x00\x00\xff\xff\xff\x00\x00"
bmp = (b"BM" + struct.pack("<IHHI", 54 + len(pixels), 0, 0, 54) +
       struct.pack("<IiiHHIIiiII", 40, 2, 2, 1, 24, 0, len(pixels), 2835, 2835, 0, 0) + pixels)
kinds = ["IMG_{:05d}.bmp", "notes{:05d}.txt", "scan{:05d}.BMP", "clip{:05d}.png"]
folders, n = 1, 0
for album in range(20):                    # the top, 20 albums, 50 days in each: 1,021 folders
    a = os.path.join(root, "album{:02d}".format(album))
    folders += 1
    for day in range(50):
        d = os.path.join(a, "day{:02d}".format(day))
        os.makedirs(d)
        folders += 1
        for i in range(20):                # 20,000 files, every other one a picture
            name = kinds[i % len(kinds)].format(n)
            with open(os.path.join(d, name), "wb") as f:
                f.write(bmp if i % 2 == 0 else b"x")
            n += 1
print(folders, "folders,", n, "files")
PY
  touch "$share/.tree-complete"
fi

# Names and attributes stay in the kernel for the run, as a network client keeps them: Wine asks for each
# entry's attributes separately, where a share's listing brings them along. Listings and first reads still wait.
cache=600
mounts=()
pids=()
cleanup() {
  for m in "${mounts[@]}"; do mountpoint -q "$m" && fusermount3 -u "$m"; done
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
}
trap cleanup EXIT
for delay in 0 5; do
  m="$share/mnt-${delay}ms"
  mkdir -p "$m"
  mountpoint -q "$m" && fusermount3 -u "$m"
  /usr/bin/python3 "$here/../tests/harness/slow_share.py" "$tree" "$m" "$delay" "$delay" "$cache" </dev/null >"$share/share-${delay}ms.log" 2>&1 &
  pids+=($!)
  mounts+=("$m")
  for _ in $(seq 1 100); do mountpoint -q "$m" && break; sleep 0.1; done
  mountpoint -q "$m" || { echo "could not mount $m (see $share/share-${delay}ms.log)" >&2; exit 1; }
done

export KPV_BUILD_DIR="$build"
"$here/../tests/harness/session.sh" start "$build" >/dev/null
. "$here/../tests/harness/wine-env.sh"
winpath() { echo "Z:$(echo "$1" | tr / '\\')"; }
cd "$build"
for place in "local disk:$tree" "share, 0 ms:$share/mnt-0ms" "share, 5 ms:$share/mnt-5ms"; do
  label=${place%%:*}
  folder=$(winpath "${place#*:}")
  echo "== $label ($folder), median of $rounds"
  "$WINE64" bench/catalogue_bench_win.exe "$folder" "$rounds" $helpers </dev/null
  "$WINE64" bench/show_start_bench_win.exe "$folder" "$rounds" "$(winpath "$build/bench/KPV_serial_scan.scr")" \
    "$(winpath "$build/KPV.scr")" ${KPV_COMPARE_SCR:+"$(winpath "$KPV_COMPARE_SCR")"} </dev/null
  [ -x "$native" ] && "$native" "${place#*:}" "$rounds" $helpers
done

#!/usr/bin/env bash
# The picture scan beside a bare walker, Wine's own "dir /s /b" and native find, on one generated tree of
# 100,000 files (pictures mixed with other files) in 5,000 folders. Run by hand after a Windows build:
#   bench/catalogue_bench.sh [BUILD_DIR] [ROUNDS]
set -eu
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-$here/../build/windows}" && pwd)
rounds=${2:-5}
tree="$build/bench-catalogue-tree"
exe="$build/bench/catalogue_bench_win.exe"
[ -x "$exe" ] || { echo "build the Windows preset first (target catalogue_bench_win)" >&2; exit 1; }

if [ ! -f "$tree/.complete" ]; then
  echo "generating $tree ..."
  rm -rf -- "$tree"
  python3 - "$tree" <<'PY'
import os, sys
root = sys.argv[1]
kinds = ["IMG_{:05d}.JPG", "photo{:05d}.jpeg", "scan{:05d}.bmp", "notes{:05d}.txt", "clip{:05d}.png",
         "draw{:05d}.gif", "raw{:05d}.jpe", "pic{:05d}.Jpg", "doc{:05d}.pdf", "thumb{:05d}.BMP"]
n = 0
folders = []
for top in range(100):                      # 100 folders, each holding 49 more: 5,000 folders
    t = os.path.join(root, "album{:03d}".format(top))
    folders.append(t)
    for sub in range(49):
        folders.append(os.path.join(t, "day{:02d}".format(sub)))
for f in folders:
    os.makedirs(f, exist_ok=True)
    for i in range(20):                     # 20 files each: 100,000 files, half of them pictures
        open(os.path.join(f, kinds[i % len(kinds)].format(n)), "wb").close()
        n += 1
print(len(folders), "folders,", n, "files")
PY
  touch "$tree/.complete"
fi

export KPV_BUILD_DIR="$build"
"$here/../tests/harness/session.sh" start "$build" >/dev/null
. "$here/../tests/harness/wine-env.sh"
wintree="Z:$(echo "$tree" | tr / '\\')"
cd "$build"

echo "== picture scan, serial and with helpers, and bare walker (same process, rotating, median of $rounds)"
"$WINE64" "$exe" "$wintree" "$rounds" </dev/null

echo "== Wine's cmd /c dir /s /b (after a warm-up listing)"
"$WINE64" cmd /c dir /s /b "$wintree" </dev/null >/dev/null 2>&1 || true
start=$(date +%s.%N)
lines=$("$WINE64" cmd /c dir /s /b "$wintree" </dev/null 2>/dev/null | wc -l)
end=$(date +%s.%N)
printf "dir /s /b     %9.1f ms  (%s lines)\n" "$(echo "($end - $start) * 1000" | bc -l)" "$lines"

echo "== native find"
find "$tree" >/dev/null
start=$(date +%s.%N)
lines=$(find "$tree" | wc -l)
end=$(date +%s.%N)
printf "find          %9.1f ms  (%s lines)\n" "$(echo "($end - $start) * 1000" | bc -l)" "$lines"

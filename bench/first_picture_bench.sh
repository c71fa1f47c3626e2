#!/usr/bin/env bash
# Start -> first picture on the 1,021-folder tree of slow_share_bench.sh, through the share with 5 ms in each
# listing, and where the first pictures of several starts came from (which of the 20 top folders), for
# KPV.scr and another copy side by side. Run by hand after the bench target and slow_share_bench.sh (which
# makes the tree):
#   bench/first_picture_bench.sh [BUILD_DIR] [OTHER_SCR] [STARTS]
# It writes the settings of the build tree's Wine prefix: run no tests meanwhile.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-$here/../build/windows}" && pwd)
other=${2:-}
starts=${3:-8}
share="$build/bench-share"
tree="$share/tree"
[ -f "$share/.tree-complete" ] || { echo "run bench/slow_share_bench.sh first: it makes $tree" >&2; exit 1; }
mnt="$share/mnt-spread"
markers="$share/markers"
mkdir -p "$mnt" "$markers"
mountpoint -q "$mnt" && fusermount3 -u "$mnt"
# 5 ms in each listing and 1 ms before each first read, which the share marks; names kept as a client keeps them.
/usr/bin/python3 "$here/../tests/harness/slow_share.py" --markers "$markers" "$tree" "$mnt" 5 1 600 </dev/null >"$share/spread.log" 2>&1 &
pid=$!
trap 'kill -KILL $pid 2>/dev/null || true; sleep 1; fusermount3 -uz "$mnt" 2>/dev/null || true' EXIT
for _ in $(seq 1 100); do mountpoint -q "$mnt" && break; sleep 0.1; done

export KPV_BUILD_DIR="$build"
"$here/../tests/harness/session.sh" start "$build" >/dev/null
. "$here/../tests/harness/wine-env.sh"
winpath() { echo "Z:$(echo "$1" | tr / '\\')"; }
copies=("$build/KPV.scr")
[ -n "$other" ] && copies+=("$other")
for scr in "${copies[@]}"; do
  echo "== $scr"
  out=$(KPV_BENCH_MARKERS="$(winpath "$markers")" "$WINE64" "$build/bench/show_start_bench_win.exe" \
        "$(winpath "$mnt")" "$starts" "$(winpath "$scr")" </dev/null)
  echo "$out" | grep -v '^first picture'
  tops=$(echo "$out" | sed -n 's/^first picture of [^:]*: read-\(album[0-9]*\)_.*/\1/p')
  echo "first pictures from: $(echo "$tops" | tr '\n' ' ')"
  echo "different top folders over $(echo "$tops" | grep -c .) starts: $(echo "$tops" | sort -u | grep -c .)"
done

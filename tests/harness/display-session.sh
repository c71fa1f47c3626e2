#!/usr/bin/env bash
# start | stop: an extra X display and Wine session for the tests that need several monitors or another
# DPI. Each session has its own X server and its own copy of the build tree's prefix, hence its own
# wineserver, so it runs beside the ordinary Xvfb session of session.sh without touching it.
#
#   display-session.sh start BUILD_DIR NAME LAYOUT [LOGPIXELS]
#     LAYOUT single  Xvfb, one 1024x768 monitor
#            right   Xorg with the dummy driver: 1024x768 primary, 800x600 to its right
#            left    the same two monitors with the 800x600 one left of the primary: Windows then puts
#                    it at negative coordinates (-800,0 to 0,600)
#     LOGPIXELS      the prefix's DPI (HKCU\Control Panel\Desktop LogPixels), 96 when left out
#   display-session.sh stop BUILD_DIR NAME
#
# A Windows program runs in the session through wine-run.sh with KPV_SESSION=NAME in its environment.
# Wine reads the monitor layout when its server starts. It follows a later xrandr change of the X screen's
# size (without WM_DISPLAYCHANGE) but not a change of position alone, so each layout is a session of its
# own. A test that removes or adds a monitor uses ChangeDisplaySettingsExW: Wine then rearranges the X
# outputs itself and sends WM_DISPLAYCHANGE.
# Everything lives in BUILD_DIR/harness/sessions/NAME: the prefix (kept for the next run), the X
# server's configuration and log, its pid, and "env", which wine-env.sh reads.
set -u
cmd=${1:-}
export KPV_BUILD_DIR=${2:?build dir}
name=${3:?session name}
here=$(cd "$(dirname "$0")" && pwd)
KPV_BUILD_DIR=$(cd "$KPV_BUILD_DIR" && pwd -P)
dir="$KPV_BUILD_DIR/harness/sessions/$name"
unset KPV_SESSION
. "$here/wine-env.sh"
unset DISPLAY

# Display numbers apart from session.sh's 91-140; the X server's own lock file settles any race.
first_display=160
last_display=259

die() { echo "display-session $name: $*" >&2; exit 1; }

write_xorg_conf() {
  mkdir -p "$dir/xorg.conf.d"  # empty: no configuration snippets of the machine are read
  cat >"$dir/xorg.conf" <<'EOF'
Section "ServerFlags"
  Option "AutoAddDevices" "false"
  Option "AutoEnableDevices" "false"
  Option "DontVTSwitch" "true"
EndSection
Section "Device"
  Identifier "dummy"
  Driver "dummy"
  VideoRam 256000
EndSection
Section "Monitor"
  Identifier "monitor"
  HorizSync 5.0 - 1000.0
  VertRefresh 5.0 - 200.0
  Modeline "1024x768" 63.50 1024 1072 1176 1328 768 771 775 798 -hsync +vsync
  Modeline "800x600" 38.25 800 832 912 1024 600 603 607 624 -hsync +vsync
EndSection
Section "Screen"
  Identifier "screen"
  Device "dummy"
  Monitor "monitor"
  DefaultDepth 24
  SubSection "Display"
    Depth 24
    Modes "1024x768"
    Virtual 1824 768
  EndSubSection
EndSection
EOF
}

# Starts the X server on the first free display and waits until it owns that display.
start_x_server() {
  local layout=$1 n pid
  for n in $(seq "$first_display" "$last_display"); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
    if [ "$layout" = single ]; then
      Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp </dev/null >"$dir/x.log" 2>&1 &
    else
      # -sharevts -novtswitch: the server never switches or claims a virtual console, even as root.
      Xorg ":$n" -config "$dir/xorg.conf" -configdir "$dir/xorg.conf.d" -noreset -nolisten tcp \
        -logfile "$dir/x.log" -novtswitch -sharevts </dev/null >"$dir/x.out" 2>&1 &
    fi
    pid=$!
    for _ in $(seq 1 200); do
      if [ -e "/tmp/.X11-unix/X$n" ] && [ "$(tr -d ' ' <"/tmp/.X$n-lock" 2>/dev/null)" = "$pid" ]; then
        echo "$pid" >"$dir/x.pid"
        echo ":$n" >"$dir/display"
        return 0
      fi
      kill -0 "$pid" 2>/dev/null || break
      sleep 0.05
    done
    kill "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
  done
  return 1
}

# Kills the X server this session started, and only if the pid still belongs to it.
stop_x_server() {
  [ -f "$dir/x.pid" ] || return 0
  local pid
  pid=$(cat "$dir/x.pid")
  if tr '\0' ' ' <"/proc/$pid/cmdline" 2>/dev/null | grep -q -- "$(cat "$dir/display" 2>/dev/null) "; then
    kill "$pid" 2>/dev/null
    for _ in $(seq 1 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  fi
  rm -f "$dir/x.pid" "$dir/display"
}

arrange_monitors() {
  case "$1" in
    single) return 0 ;;
    right) xrandr --addmode DUMMY1 800x600 &&
           xrandr --output DUMMY0 --primary --mode 1024x768 --pos 0x0 --output DUMMY1 --mode 800x600 --pos 1024x0 ;;
    left)  xrandr --addmode DUMMY1 800x600 &&
           xrandr --output DUMMY0 --primary --mode 1024x768 --pos 800x0 --output DUMMY1 --mode 800x600 --pos 0x0 ;;
  esac
}

# What xrandr reports, one "WxH+X+Y" per active output, sorted, the primary marked with "*".
monitor_list() {
  xrandr --listmonitors | awk 'NR > 1 { split($3, a, /[\/x+]/); printf "%s%sx%s+%s+%s\n", ($2 ~ /\*/ ? "*" : " "), a[1], a[3], a[5], a[6] }' | sort
}

expected_monitors() {
  case "$1" in
    single) printf '1024x768+0+0\n' ;;  # Xvfb marks no output as primary
    right) printf '*1024x768+0+0\n 800x600+1024+0\n' | sort ;;
    left) printf '*1024x768+800+0\n 800x600+0+0\n' | sort ;;
  esac
}

# A copy of the build tree's ready prefix, made once and kept; the DPI is set in it before first use.
make_prefix() {
  local dpi=$1 base="$KPV_BUILD_DIR/wineprefix"
  if [ -f "$WINEPREFIX/.kpv-session-ready" ] && [ "$(cat "$WINEPREFIX/.kpv-session-ready")" = "LogPixels=$dpi" ]; then
    return 0
  fi
  [ -f "$base/.kpv-ready" ] || die "no ready prefix in $base (session.sh start makes it)"
  if [ -e "$WINEPREFIX" ]; then
    local real
    real=$(realpath -e "$WINEPREFIX") || die "cannot resolve $WINEPREFIX"
    [ "$real" = "$dir/prefix" ] || die "refusing to delete $real"
    rm -rf --one-file-system -- "$real"
  fi
  cp -a "$base" "$WINEPREFIX" || die "cannot copy $base"
  rm -f "$WINEPREFIX/.kpv-ready"
  if [ "$dpi" != 96 ]; then
    "$WINE64" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f </dev/null >/dev/null 2>&1 ||
      die "cannot set LogPixels"
    # Wine reads the DPI when its server starts: this one ends and writes the registry out.
    "$WINESERVER" -k
    "$WINESERVER" -w
  fi
  echo "LogPixels=$dpi" >"$WINEPREFIX/.kpv-session-ready"
}

case "$cmd" in
  start)
    layout=${4:?layout: single, right or left}
    dpi=${5:-96}
    case "$layout" in single|right|left) ;; *) die "unknown layout $layout" ;; esac
    started=$(date +%s%N)
    # A start that fails leaves nothing running.
    trap '[ $? -eq 0 ] || { "$WINESERVER" -k 2>/dev/null; stop_x_server; }' EXIT
    mkdir -p "$dir"
    export WINEPREFIX="$dir/prefix"
    # Whatever an interrupted run left behind goes first.
    "$WINESERVER" -k 2>/dev/null
    stop_x_server
    rm -f "$dir/env"
    [ "$layout" = single ] || write_xorg_conf
    x_started=$(date +%s%N)
    start_x_server "$layout" || die "no X server could be started (see $dir/x.log)"
    x_up=$(date +%s%N)
    DISPLAY=$(cat "$dir/display"); export DISPLAY
    arrange_monitors "$layout" || die "xrandr could not arrange the monitors"
    actual=$(monitor_list)
    [ "$layout" = single ] && actual=$(echo "$actual" | tr -d '* ')
    [ "$actual" = "$(expected_monitors "$layout")" ] || die "monitors are $(echo $actual), not the $layout layout"
    make_prefix "$dpi"
    # Persistent until stop: a pause between two tests of the session must not end it.
    "$WINESERVER" -p </dev/null >/dev/null 2>&1
    # The first client decides which pipes Wine's own services inherit: give it none.
    "$WINE64" cmd /c exit </dev/null >/dev/null 2>&1
    printf 'export WINEPREFIX=%q\nexport DISPLAY=%q\n' "$WINEPREFIX" "$DISPLAY" >"$dir/env"
    echo "session $name ($layout, LogPixels $dpi) on $DISPLAY, prefix $WINEPREFIX: X server up in" \
         "$(( (x_up - x_started) / 1000000 )) ms, ready in $(( ($(date +%s%N) - started) / 1000000 )) ms"
    ;;
  stop)
    export WINEPREFIX="$dir/prefix"
    [ -d "$WINEPREFIX" ] && "$WINESERVER" -k 2>/dev/null
    stop_x_server
    rm -f "$dir/env"
    ;;
  *) echo "usage: $0 start BUILD_DIR NAME single|right|left [LOGPIXELS] | stop BUILD_DIR NAME" >&2; exit 2 ;;
esac

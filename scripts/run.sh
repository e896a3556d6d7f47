#!/bin/sh
# Installs what is missing, builds Morrowby for x64 and starts it under Wine.
# On $DISPLAY when there is one; otherwise on a virtual display, where it saves
# two screenshots: the splash at start-up, and the tray icon with its menu open
# once start-up is done, as a parent sees it.
#
# The display, the Wine prefix and the wineserver come from
# scripts/wine-session.sh; `sh scripts/run.sh --stop` stops what a run started.
set -eu
cd "$(dirname "$0")/.."
build="$PWD/build/x64"
export WINEPREFIX="${WINEPREFIX:-$build/run-prefix}"
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
session="sh scripts/wine-session.sh"

if [ "${1:-}" = --stop ]; then
    DISPLAY=$($session display) $session down
    exit 0
fi

sh scripts/install-deps.sh
cmake --preset x64 >/dev/null
cmake --build --preset x64 --target morrowby

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    MORROWBY_WINE_MANAGED=Y $session up
    echo "Starting Morrowby on $DISPLAY; it lives in the notification area."
    exec wine "$build/bin/morrowby.exe"
fi

DISPLAY=$($session display)
export DISPLAY
$session up
setsid wine "$build/bin/morrowby.exe" >/dev/null 2>&1 </dev/null &

# Polls up to <tenths> tenths of a second until a command succeeds.
wait_for() { # tenths command...
    limit=$1
    shift
    i=0
    until "$@"; do
        i=$((i + 1))
        [ $i -ge "$limit" ] && return 1
        sleep 0.1
    done
}
# The program's mapped windows: the splash while it shows, later the menu.
program_window() { xdotool search --onlyvisible --classname morrowby.exe >/dev/null 2>&1; }
no_program_window() { ! program_window; }
tray_window() { xdotool search --onlyvisible --name 'Wine System Tray' 2>/dev/null | head -n 1; }
has_tray() { [ -n "$(tray_window)" ]; }

splash="$build/morrowby-splash.png"
running="$build/morrowby-running.png"
rm -f "$splash" "$running"
# The splash shows for about nine seconds: catch it once painted.
wait_for 300 program_window || echo "run.sh: the splash did not show within 30 s" >&2
sleep 1
import -window root "$splash"
wait_for 300 no_program_window || echo "run.sh: the splash was still up after 30 s" >&2
# Without a desktop shell, Wine keeps tray icons in a small window of its own
# at the top left, the icon in its bottom row; a click opens Morrowby's menu.
if wait_for 100 has_tray; then
    tray=$(tray_window)
    eval "$(xdotool getwindowgeometry --shell "$tray")"
    xdotool mousemove --window "$tray" 12 $((HEIGHT - 13)) click 1
    wait_for 50 program_window || echo "run.sh: the tray menu did not open" >&2
    sleep 0.5
else
    echo "run.sh: no tray icon showed" >&2
fi
import -window root "$running"
xdotool key Escape || true
echo "Morrowby is running under Wine on the virtual display $DISPLAY."
echo "Screenshots: $splash (start-up) and $running (the tray menu)"
echo "To stop it: sh scripts/run.sh --stop"

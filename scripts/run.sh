#!/bin/sh
# Installs what is missing, builds Morrowby for x64 and starts it under Wine.
# On $DISPLAY when there is one; otherwise on a virtual display, where it saves
# a screenshot of the running program once start-up is done.
set -eu
cd "$(dirname "$0")/.."
sh scripts/install-deps.sh
cmake --preset x64 >/dev/null
cmake --build --preset x64 --target morrowby

build="$PWD/build/x64"
export WINEPREFIX="${WINEPREFIX:-$build/run-prefix}"
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "Preparing a private Wine prefix in $WINEPREFIX (first run only)..."
    wineboot -i >/dev/null 2>&1 </dev/null
    wine reg add 'HKCU\Software\Wine' /v Version /d win10 /f >/dev/null 2>&1
fi

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    echo "Starting Morrowby on $DISPLAY; it lives in the notification area."
    exec wine "$build/bin/morrowby.exe"
fi

export DISPLAY=:149
rm -f /tmp/.X149-lock
setsid Xvfb :149 -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 </dev/null &
xvfb=$!
i=0
until xdpyinfo >/dev/null 2>&1; do
    i=$((i + 1)); [ $i -gt 100 ] && { echo "Xvfb did not start" >&2; exit 1; }
    sleep 0.1
done
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
setsid wine "$build/bin/morrowby.exe" >/dev/null 2>&1 </dev/null &
# The splash shows for about nine seconds; catch it, then the running program.
sleep 4
import -window root "$build/morrowby-splash.png"
sleep 8
import -window root "$build/morrowby-running.png"
echo "Morrowby is running under Wine on the virtual display $DISPLAY (Xvfb pid $xvfb)."
echo "Screenshots: $build/morrowby-splash.png (start-up) and $build/morrowby-running.png"
echo "To stop it: WINEPREFIX=$WINEPREFIX wineserver -k; kill $xvfb"

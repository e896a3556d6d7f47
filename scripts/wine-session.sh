#!/bin/sh
# Starts (up) or stops (down) what the tests run on: a private Xvfb display,
# a private Wine prefix and one persistent wineserver for the whole run.
# Needs WINEPREFIX and DISPLAY in the environment (CTest sets both).
# Optional: MORROWBY_XVFB_SCREENS replaces the Xvfb screen arguments (two
# monitors: "+xinerama -screen 0 ... -screen 1 ..."), and MORROWBY_PREFIX_REG
# names a .reg file imported into the prefix before the session starts.
set -u
: "${WINEPREFIX:?}" "${DISPLAY:?}"
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
state_dir=$(dirname "$WINEPREFIX")
xvfb_pid_file="$state_dir/xvfb${DISPLAY#:}.pid"
log="$state_dir/wine-session.log"

display_up() { xdpyinfo -display "$DISPLAY" >/dev/null 2>&1; }

up() {
    mkdir -p "$state_dir"
    : >"$log"
    if ! display_up; then
        rm -f "/tmp/.X${DISPLAY#:}-lock" "/tmp/.X11-unix/X${DISPLAY#:}"
        # shellcheck disable=SC2086 # the screen arguments are meant to split
        setsid Xvfb "$DISPLAY" ${MORROWBY_XVFB_SCREENS:--screen 0 1280x800x24} -nolisten tcp -ac \
            >>"$log" 2>&1 </dev/null &
        echo $! >"$xvfb_pid_file"
        i=0
        until display_up; do
            i=$((i + 1))
            [ $i -gt 100 ] && { echo "Xvfb did not start on $DISPLAY" >&2; cat "$log" >&2; exit 1; }
            sleep 0.1
        done
    fi
    # A wineserver left over from an earlier run of this prefix would keep old state.
    wineserver -k >/dev/null 2>&1 </dev/null
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        echo "Creating Wine prefix $WINEPREFIX (first run only)"
        wineboot -i >>"$log" 2>&1 </dev/null
        # Without a window manager Wine otherwise waits on window destruction,
        # and keyboard events would not reach the foreground window.
        wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >>"$log" 2>&1 </dev/null
        wine reg add 'HKCU\Software\Wine' /v Version /d win10 /f >>"$log" 2>&1 </dev/null
        wineserver -w >>"$log" 2>&1 </dev/null
    fi
    if [ -n "${MORROWBY_PREFIX_REG:-}" ]; then
        # Before the session's wineserver starts, so that its desktop reads them.
        wine regedit /S "Z:$MORROWBY_PREFIX_REG" >>"$log" 2>&1 </dev/null
        wineserver -w >>"$log" 2>&1 </dev/null
    fi
    setsid wineserver -p >>"$log" 2>&1 </dev/null
    wine cmd /c exit >>"$log" 2>&1 </dev/null
    echo "Wine session up: WINEPREFIX=$WINEPREFIX DISPLAY=$DISPLAY"
}

down() {
    wineserver -k >/dev/null 2>&1 </dev/null
    if [ -f "$xvfb_pid_file" ]; then
        kill "$(cat "$xvfb_pid_file")" 2>/dev/null
        rm -f "$xvfb_pid_file"
    fi
    echo "Wine session down"
}

case "${1:-}" in
up) up ;;
down) down ;;
*) echo "usage: $0 up|down" >&2; exit 2 ;;
esac

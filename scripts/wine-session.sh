#!/bin/sh
# The one place a Wine session is brought up and down: a private Xvfb display,
# a private Wine prefix made on that display, and one persistent wineserver.
# The CTest fixture, scripts/run.sh and scripts/benchmark.sh all use it.
#
#   wine-session.sh up        needs WINEPREFIX and DISPLAY
#   wine-session.sh down      needs WINEPREFIX (and DISPLAY)
#   wine-session.sh display   needs WINEPREFIX; prints the display to use for
#                             this prefix: the one its Xvfb already runs on, or
#                             the first free one counting down from :149
#
# When $DISPLAY answers already (a desktop, or a display left from an earlier
# run) it is used as it is; otherwise an Xvfb is started on it and remembered
# in $WINEPREFIX.xvfb, so that `down` stops exactly that server. A lock file
# of another display is never removed; a stale one (its server is gone) is.
#
# MORROWBY_WINE_MANAGED=Y leaves Wine's windows to a window manager (a real
# desktop). The default, N, suits a bare Xvfb.
#
# MORROWBY_XVFB_SCREENS replaces the screen arguments of a started Xvfb (two
# monitors: "+xinerama -screen 0 ... -screen 1 ..."), and MORROWBY_PREFIX_REG
# names a .reg file imported into the prefix before the session starts (say,
# LogPixels for another display scale).
#
# With LOCPATH set, the locale named by LANG (language_TERRITORY.charset) is
# generated there first when it is missing; no root rights are needed. Wine
# takes the ANSI code page and the UI language from it, and a wineserver
# keeps those of the locale it started under.
set -u
: "${WINEPREFIX:?}"
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
managed=${MORROWBY_WINE_MANAGED:-N}
xvfb_file="$WINEPREFIX.xvfb"
log="$WINEPREFIX.session.log"

display_up() { xdpyinfo -display "$1" >/dev/null 2>&1; }
pid_alive() { [ -n "$1" ] && [ -d "/proc/$1" ]; }
# The pid of the server holding display :N's lock file, if the file is there.
lock_pid() { [ -f "/tmp/.X$1-lock" ] && tr -dc 0-9 <"/tmp/.X$1-lock"; }
# The Xvfb this prefix started, when it still runs: "pid :N".
own_xvfb() {
    [ -f "$xvfb_file" ] || return 1
    read -r pid display <"$xvfb_file" || return 1
    pid_alive "$pid" && [ "$(cat "/proc/$pid/comm" 2>/dev/null)" = Xvfb ] && echo "$pid $display"
}

pick_display() {
    if own=$(own_xvfb); then
        echo "${own#* }"
        return 0
    fi
    n=149
    while [ $n -ge 100 ]; do
        if ! pid_alive "$(lock_pid $n)" && [ ! -e "/tmp/.X11-unix/X$n" ] && ! display_up ":$n"; then
            echo ":$n"
            return 0
        fi
        n=$((n - 1))
    done
    echo "wine-session.sh: no free display between :100 and :149" >&2
    return 1
}

start_xvfb() {
    n=${DISPLAY#:}
    n=${n%%.*}
    owner=$(lock_pid "$n")
    if pid_alive "$owner"; then
        echo "wine-session.sh: display $DISPLAY does not answer, but process $owner holds it" \
            "(/tmp/.X$n-lock); choose another display" >&2
        return 1
    fi
    # Only a lock whose server has died is cleared, with its socket.
    if [ -f "/tmp/.X$n-lock" ]; then
        rm -f "/tmp/.X$n-lock" "/tmp/.X11-unix/X$n"
    fi
    # shellcheck disable=SC2086 # the screen arguments are meant to split
    setsid Xvfb "$DISPLAY" ${MORROWBY_XVFB_SCREENS:--screen 0 1280x800x24} -nolisten tcp -ac \
        >>"$log" 2>&1 </dev/null &
    pid=$!
    echo "$pid $DISPLAY" >"$xvfb_file"
    i=0
    until display_up "$DISPLAY"; do
        i=$((i + 1))
        if [ $i -gt 150 ] || ! pid_alive "$pid"; then
            echo "wine-session.sh: Xvfb did not start on $DISPLAY" >&2
            cat "$log" >&2
            rm -f "$xvfb_file"
            return 1
        fi
        sleep 0.1
    done
}

# True when the registry file holds "name"="data" under [key] (key written as
# in the .reg file, backslashes doubled).
reg_file_has() { # file key name data
    # Through the environment: awk -v would undo the doubled backslashes.
    KEY="[$2]" VALUE="\"$3\"=\"$4\"" awk '
        /^\[/ { inside = index($0, ENVIRON["KEY"]) == 1 }
        inside && $0 == ENVIRON["VALUE"] { found = 1 }
        END { exit !found }' "$1" 2>/dev/null
}
reg_set() { # file key-as-in-file key name data
    reg_file_has "$1" "$2" "$4" "$5" ||
        wine reg add "$3" /v "$4" /d "$5" /f >>"$log" 2>&1 </dev/null
}

# Sessions may start side by side with the same locale: each generates into a
# folder of its own and the first to finish puts it in place.
make_locale() {
    [ -n "${LOCPATH:-}" ] && [ -n "${LANG:-}" ] || return 0
    [ -f "$LOCPATH/$LANG/LC_CTYPE" ] && return 0
    mkdir -p "$LOCPATH"
    partial="$LOCPATH/.$LANG.$$"
    # localedef exits non-zero on mere warnings; what counts is what it wrote.
    LC_ALL=C localedef -i "${LANG%%.*}" -f "${LANG#*.}" "$partial" >>"$log" 2>&1
    if [ -f "$partial/LC_CTYPE" ]; then
        mv -T "$partial" "$LOCPATH/$LANG" 2>/dev/null
    fi
    rm -rf "$partial"
    [ -f "$LOCPATH/$LANG/LC_CTYPE" ] || {
        echo "wine-session.sh: cannot generate the locale $LANG in $LOCPATH" >&2
        return 1
    }
}

up() {
    : "${DISPLAY:?}"
    mkdir -p "$(dirname "$WINEPREFIX")"
    : >"$log"
    make_locale || exit 1
    display_up "$DISPLAY" || start_xvfb || exit 1
    # A wineserver left over from an earlier run of this prefix would keep old
    # state, and one started without a display has a desktop with no driver.
    wineserver -k >/dev/null 2>&1 </dev/null
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        echo "Creating the Wine prefix $WINEPREFIX on $DISPLAY (first run only)"
        wineboot -i >>"$log" 2>&1 </dev/null
        wineserver -w >>"$log" 2>&1 </dev/null
    fi
    if [ -n "${MORROWBY_PREFIX_REG:-}" ]; then
        # Before the session's wineserver starts, so that its desktop reads them.
        wine regedit /S "Z:$MORROWBY_PREFIX_REG" >>"$log" 2>&1 </dev/null
        wineserver -w >>"$log" 2>&1 </dev/null
    fi
    setsid wineserver -p >>"$log" 2>&1 </dev/null
    # Without a window manager Wine otherwise waits on window destruction, and
    # keyboard events would not reach the foreground window.
    reg_set "$WINEPREFIX/user.reg" 'Software\\Wine\\X11 Driver' \
        'HKCU\Software\Wine\X11 Driver' Managed "$managed"
    reg_set "$WINEPREFIX/user.reg" 'Software\\Wine' 'HKCU\Software\Wine' Version win10
    wine cmd /c exit >>"$log" 2>&1 </dev/null
    echo "Wine session up: WINEPREFIX=$WINEPREFIX DISPLAY=$DISPLAY"
}

down() {
    wineserver -k >/dev/null 2>&1 </dev/null
    if own=$(own_xvfb); then
        pid=${own%% *}
        kill "$pid" 2>/dev/null
        i=0
        while pid_alive "$pid" && [ $i -lt 50 ]; do
            i=$((i + 1))
            sleep 0.1
        done
    fi
    rm -f "$xvfb_file"
    echo "Wine session down"
}

case "${1:-}" in
up) up ;;
down) down ;;
display) pick_display ;;
*) echo "usage: $0 up|down|display" >&2; exit 2 ;;
esac

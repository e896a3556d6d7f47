#!/bin/sh
# Runs a test executable under another Unix locale, from which Wine takes the
# ANSI code page: run_under_locale.sh LOCALE CODE_PAGE EXECUTABLE [ARGS...]
# The locale is generated here (no root rights needed). A wineserver keeps
# the code page of the locale it started under, so this runs in a prefix of
# its own beside the main one, with a wineserver of its own.
set -u
locale=$1 codepage=$2
shift 2
: "${WINEPREFIX:?}" "${DISPLAY:?}"
state_dir=$(dirname "$WINEPREFIX")
locale_dir="$state_dir/locales"
if [ ! -d "$locale_dir/$locale.UTF-8" ]; then
    mkdir -p "$locale_dir"
    localedef -i "$locale" -f UTF-8 "$locale_dir/$locale.UTF-8" || {
        echo "cannot generate the locale $locale" >&2
        exit 1
    }
fi
export WINEPREFIX="$state_dir/wineprefix-$locale"
export LOCPATH="$locale_dir" LANG="$locale.UTF-8" LC_ALL="$locale.UTF-8"
export MORROWBY_EXPECTED_ACP="$codepage"
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    wineboot -i >/dev/null 2>&1 </dev/null
    wineserver -w
fi
wine "$@" </dev/null
status=$?
wineserver -k >/dev/null 2>&1 </dev/null
exit $status

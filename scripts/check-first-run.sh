#!/bin/sh
# Runs the README's `sh scripts/run.sh` as a newcomer would on a fresh clone:
# no display and a Wine prefix that does not exist yet. Passes when Morrowby
# is running afterwards and both screenshots show something (not one flat
# colour). Stops the wineserver and the Xvfb the run started, and removes the
# prefix.
set -u
cd "$(dirname "$0")/.."
work="$PWD/build/first-run-check"
prefix="$work/prefix"
rm -rf "$work"
mkdir -p "$work"

stop() {
    WINEPREFIX="$prefix" sh scripts/run.sh --stop >/dev/null 2>&1
    rm -rf "$work"
}
trap stop EXIT
trap 'exit 1' INT TERM

failed=0
fail() {
    echo "first run: FAILED: $*"
    failed=1
}

echo "first run: sh scripts/run.sh with no display and a fresh prefix"
if ! env -u DISPLAY WINEPREFIX="$prefix" timeout 600 sh scripts/run.sh >"$work/run.log" 2>&1; then
    fail "scripts/run.sh failed:"
    sed 's/^/    /' "$work/run.log"
fi

# A Wine process of this prefix whose name is morrowby.exe.
running=no
for dir in /proc/[0-9]*; do
    [ "$(cat "$dir/comm" 2>/dev/null)" = morrowby.exe ] || continue
    tr '\0' '\n' <"$dir/environ" 2>/dev/null | grep -qx "WINEPREFIX=$prefix" && running=yes
done
[ $running = yes ] || fail "morrowby.exe is not running after scripts/run.sh"

# A blank (all black) screenshot has no spread of colours at all.
for shot in build/x64/morrowby-splash.png build/x64/morrowby-running.png; do
    if [ ! -f "$shot" ]; then
        fail "$shot was not saved"
        continue
    fi
    spread=$(convert "$shot" -format '%[fx:standard_deviation]' info: 2>/dev/null)
    colours=$(convert "$shot" -format '%k' info: 2>/dev/null)
    echo "first run: $shot: standard deviation ${spread:-?}, ${colours:-?} colours"
    awk -v s="${spread:-0}" -v c="${colours:-0}" 'BEGIN { exit !(s > 0.01 && c >= 16) }' ||
        fail "$shot is blank"
done

if [ $failed -eq 0 ]; then
    echo "first run: passed"
fi
exit $failed

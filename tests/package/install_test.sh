#!/bin/sh
# Builds the packages and drives the setup program and its uninstaller silently
# under Wine: what lands where, what the uninstaller takes away and what it keeps.
#
# usage: install_test.sh <source dir> <work dir>
# Needs WINEPREFIX and DISPLAY (CTest sets both and starts the Wine session).
#
# Wine here runs 64-bit programs only, so the setup under test is the same
# script built for the amd64 target; the 32-bit setup we ship is checked for
# its form only.
set -u
: "${WINEPREFIX:?}" "${DISPLAY:?}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
src=$(cd "${1:?source dir}" && pwd)
work=${2:?work dir}
mkdir -p "$work"
work=$(cd "$work" && pwd)

uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Morrowby'
maker_key='HKCU\Software\Orvane'
product_key='HKCU\Software\Orvane\Morrowby'
settings_key='HKCU\Software\Orvane\Morrowby\Settings'
probe_value=PackageTestProbe

passed=0
failed=0
case_failed=0
morrowby_pid=

fail() {
    echo "    FAILED: $*"
    case_failed=1
}
check() { # message command...
    message=$1
    shift
    "$@" || fail "$message"
}
run_case() { # name function
    echo "[ RUN  ] $1"
    case_failed=0
    "$2"
    if [ $case_failed -eq 0 ]; then
        passed=$((passed + 1))
        echo "[  OK  ] $1"
    else
        failed=$((failed + 1))
        echo "[ FAIL ] $1"
    fi
}

# --- Wine helpers -----------------------------------------------------------

w() { timeout 120 wine "$@" </dev/null; }
reg_has_key() { w reg query "$1" >/dev/null 2>&1; }
# Prints the data of a value (REG_SZ or REG_DWORD as reg shows it).
reg_value() { # key name
    w reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' |
        sed -n "s/^ *$2 \{1,\}REG_[A-Z_]* \{1,\}//p"
}
shell_folder() { # name -> unix path
    winepath -u "$(reg_value 'HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders' "$1")" 2>/dev/null
}
# Polls until a command succeeds, at most <seconds>.
wait_until() { # seconds command...
    limit=$(($1 * 4))
    shift
    i=0
    until "$@"; do
        i=$((i + 1))
        [ $i -ge $limit ] && return 1
        sleep 0.25
    done
}
not() { ! "$@"; }
has_subkeys() { # key
    w reg query "$1" 2>/dev/null | tr -d '\r' | grep -qi "^$(printf '%s' "$1" |
        sed 's/^HKCU/HKEY_CURRENT_USER/; s/\\/\\\\/g')\\\\."
}

# The uninstaller runs a copy of itself from the temp folder and returns at
# once, so the end of the uninstall is seen by its last step: the uninstall
# entry goes away.
uninstall() { # arguments...
    w "$instdir/uninstall.exe" "$@"
    wait_until 60 not reg_has_key "$uninstall_key" || fail "the uninstaller did not finish within 60 s"
}

# A tiny program that tells whether Morrowby's main window exists (exit 0).
make_probe() {
    cat >"$work/probe.nsi" <<'EOF'
Unicode true
Target amd64-unicode
OutFile "probe.exe"
RequestExecutionLevel user
SilentInstall silent
Section
    FindWindow $0 "MORROWBY"
    StrCmp $0 0 0 +2
    SetErrorLevel 1
SectionEnd
EOF
    (cd "$work" && makensis -V1 probe.nsi) >/dev/null
}
morrowby_running() { w "$work/probe.exe"; }

stop_morrowby() {
    [ -n "$morrowby_pid" ] || return 0
    kill "$morrowby_pid" 2>/dev/null
    wait "$morrowby_pid" 2>/dev/null
    morrowby_pid=
    wait_until 20 not morrowby_running
}

# Leaves no installation behind, whatever an earlier run did.
remove_installation() {
    rm -rf "$instdir"
    rm -f "$programs/Morrowby.lnk" "$startup/Morrowby.lnk"
    w reg delete "$uninstall_key" /f >/dev/null 2>&1
}

install() { # arguments...
    w "$setup" /S "$@"
}

check_installed() {
    check "morrowby.exe is not installed in $instdir" test -f "$instdir/morrowby.exe"
    check "the installed morrowby.exe is not the 64-bit build" cmp -s "$instdir/morrowby.exe" "$x64_exe"
    check "uninstall.exe is missing" test -f "$instdir/uninstall.exe"
    check "the Start menu shortcut is missing" test -f "$programs/Morrowby.lnk"
    check "the uninstall entry is missing" reg_has_key "$uninstall_key"
}

check_removed() {
    check "the installation folder is still there:$(ls -A "$instdir" 2>/dev/null | tr '\n' ' ')" \
        test ! -e "$instdir"
    check "the Start menu shortcut is still there" test ! -e "$programs/Morrowby.lnk"
    check "the Startup shortcut is still there" test ! -e "$startup/Morrowby.lnk"
    check "the uninstall entry is still there" not reg_has_key "$uninstall_key"
}

# --- Cases ------------------------------------------------------------------

case_packages() {
    if ! sh "$src/scripts/package.sh" --dist "$work/dist" >"$work/package.log" 2>&1; then
        fail "package.sh failed: $(cat "$work/package.log")"
        return
    fi
    shipped="$work/dist/Morrowby-$version-setup.exe"
    zipfile="$work/dist/Morrowby-$version-portable.zip"
    check "package.sh did not print the setup path" grep -qx "$shipped" "$work/package.log"
    check "package.sh did not print the zip path" grep -qx "$zipfile" "$work/package.log"
    # One setup for every Windows: a 32-bit program (machine 0x014c).
    pe=$(od -An -tu4 -j60 -N4 "$shipped" | tr -d ' ')
    machine=$(od -An -tx2 -j$((pe + 4)) -N2 "$shipped" | tr -d ' ')
    check "the shipped setup is not a 32-bit program (machine $machine)" test "$machine" = 014c
    names=$(unzip -Z1 "$zipfile" | sort | tr '\n' ' ')
    check "the zip holds '$names'" test "$names" = "README.txt x64/morrowby.exe x86/morrowby.exe "
    unzip -p "$zipfile" x64/morrowby.exe >"$work/zip-x64.exe"
    unzip -p "$zipfile" x86/morrowby.exe >"$work/zip-x86.exe"
    check "x64/morrowby.exe in the zip is not the 64-bit build" cmp -s "$work/zip-x64.exe" "$x64_exe"
    check "x86/morrowby.exe in the zip is not the 32-bit build" cmp -s "$work/zip-x86.exe" "$src/build/x86/bin/morrowby.exe"
    check "README.txt does not name version $version" sh -c "unzip -p '$zipfile' README.txt | grep -q 'Morrowby $version'"

    # The setup that can run here.
    if ! sh "$src/scripts/package.sh" --no-build --target amd64-unicode --dist "$work/dist64" \
        >"$work/package64.log" 2>&1; then
        fail "package.sh --target amd64-unicode failed: $(cat "$work/package64.log")"
    fi
}

case_default_install() {
    remove_installation
    install
    check "silent setup ended with $?" test $? -eq 0
    check_installed
    check "the Startup shortcut exists without being asked for" test ! -e "$startup/Morrowby.lnk"
    check "DisplayName" test "$(reg_value "$uninstall_key" DisplayName)" = Morrowby
    check "DisplayVersion" test "$(reg_value "$uninstall_key" DisplayVersion)" = "$version"
    check "Publisher" test "$(reg_value "$uninstall_key" Publisher)" = Orvane
    check "UninstallString" test "$(reg_value "$uninstall_key" UninstallString)" = "\"$instdir_win\\uninstall.exe\""
    check "QuietUninstallString" test "$(reg_value "$uninstall_key" QuietUninstallString)" = "\"$instdir_win\\uninstall.exe\" /S"
    check "DisplayIcon" test "$(reg_value "$uninstall_key" DisplayIcon)" = "$instdir_win\\morrowby.exe,0"
    check "NoModify" test "$(reg_value "$uninstall_key" NoModify)" = 0x1
    check "NoRepair" test "$(reg_value "$uninstall_key" NoRepair)" = 0x1
}

case_uninstall_keeps_settings() {
    [ -f "$instdir/uninstall.exe" ] || install
    w reg add "$settings_key" /v $probe_value /d kept /f >/dev/null 2>&1
    uninstall /S
    check_removed
    check "the settings were removed without being asked to" \
        test "$(reg_value "$settings_key" $probe_value)" = kept
}

case_uninstall_removes_settings() {
    install
    check_installed
    w reg add "$settings_key" /v $probe_value /d removed /f >/dev/null 2>&1
    uninstall /S /REMOVESETTINGS
    check_removed
    check "the settings survived /REMOVESETTINGS" not reg_has_key "$product_key"
    # The maker's key goes too, unless something else of Orvane's lives in it.
    if reg_has_key "$maker_key"; then
        check "the empty maker key was left behind" has_subkeys "$maker_key"
    fi
}

case_startup_option() {
    install /STARTUP
    check_installed
    check "/STARTUP did not add the Startup shortcut" test -f "$startup/Morrowby.lnk"
    # A later update keeps the choice.
    install
    check "an update without /STARTUP dropped the Startup shortcut" test -f "$startup/Morrowby.lnk"
    uninstall /S
    check_removed
}

case_refuses_while_running() {
    install
    # timeout passes our kill on to Wine, and ends it anyway should we not get there.
    timeout 120 wine "$src/build/x64/bin/morrowby.exe" </dev/null >/dev/null 2>&1 &
    morrowby_pid=$!
    if ! wait_until 60 morrowby_running; then
        fail "Morrowby's main window did not appear within 60 s"
        stop_morrowby
        return
    fi
    install
    rc=$?
    check "the setup went on while Morrowby runs (exit code $rc)" test $rc -ne 0
    # Run in place (_?=) so that the exit code is the uninstaller's own.
    w "$instdir/uninstall.exe" /S /REMOVESETTINGS "_?=$instdir_win"
    rc=$?
    check "the uninstaller went on while Morrowby runs (exit code $rc)" test $rc -ne 0
    check_installed
    check "Morrowby is no longer running" morrowby_running
    stop_morrowby
    uninstall /S
    check_removed
}

# --- Main ---------------------------------------------------------------------

version=$(sh "$src/scripts/version.sh" "$src")
x64_exe="$src/build/x64/bin/morrowby.exe"
setup="$work/dist64/Morrowby-$version-setup.exe"

instdir_win="$(reg_value 'HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders' 'Local AppData')\\Programs\\Morrowby"
instdir=$(winepath -u "$instdir_win" 2>/dev/null)
programs=$(shell_folder Programs)
startup=$(shell_folder StartUp)
if [ -z "$instdir" ] || [ -z "$programs" ] || [ -z "$startup" ]; then
    echo "cannot find the user's folders in $WINEPREFIX"
    echo "package: 0 passed, 1 failed"
    exit 1
fi

# The product's settings belong to whoever uses this prefix: put them back afterwards.
backup="$work/product-settings.reg"
rm -f "$backup"
reg_has_key "$product_key" && w reg export "$product_key" "$(winepath -w "$backup")" /y >/dev/null 2>&1
restore() {
    stop_morrowby
    w reg delete "$settings_key" /v $probe_value /f >/dev/null 2>&1
    [ -f "$backup" ] && w reg import "$(winepath -w "$backup")" >/dev/null 2>&1
}
trap 'restore' EXIT
trap 'exit 1' INT TERM

make_probe || { echo "makensis cannot build the probe"; exit 1; }
run_case "packages are built" case_packages
if [ ! -f "$setup" ]; then
    echo "package: $passed passed, $((failed + 1)) failed (no setup to run)"
    exit 1
fi
run_case "default silent install" case_default_install
run_case "silent uninstall keeps the settings" case_uninstall_keeps_settings
run_case "silent uninstall with /REMOVESETTINGS" case_uninstall_removes_settings
run_case "install with /STARTUP" case_startup_option
run_case "setup and uninstaller refuse while Morrowby runs" case_refuses_while_running
remove_installation

echo "package: $passed passed, $failed failed"
[ $failed -eq 0 ]

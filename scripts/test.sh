#!/bin/sh
# Installs what is missing, builds both architectures, and runs every test of
# the x64 build under Wine on a private virtual display. Then, whatever the
# tests gave: the floor check (no folder includes one above it, no handle
# freed outside win/), the exe's size, the README's first run on a fresh
# prefix, and the installer and the portable zip (CI's artifacts). Exits
# non-zero when any of these failed; the last lines say which, with CTest's
# own summary.
set -u
cd "$(dirname "$0")/.."
sh scripts/install-deps.sh || exit 1
cmake --preset x64 >/dev/null || exit 1
cmake --build --preset x64 || exit 1
# The 32-bit build cannot run here; it is compiled, tests included.
cmake --preset x86 >/dev/null || exit 1
cmake --build --preset x86 || exit 1

log=build/x64/ctest-output.log
rc_file=build/x64/ctest-status
{
    ctest --preset x64 "$@"
    echo $? >"$rc_file"
} 2>&1 | tee "$log"
tests=$(cat "$rc_file" 2>/dev/null || echo 1)

echo
python3 scripts/check-floors.py
floors=$?

echo
# The release exe stays under 1 MB (the artwork is about 450 KB of it).
exe_bytes=$(stat -c %s build/x64/bin/morrowby.exe)
echo "morrowby.exe (x64, release): $exe_bytes bytes"
[ "$exe_bytes" -lt 1048576 ]
exe_size=$?

echo
sh scripts/check-first-run.sh
first_run=$?

echo
sh scripts/package.sh --no-build
packaging=$?

verdict() { [ "$1" -eq 0 ] && echo passed || echo "FAILED (exit $1)"; }
echo
echo "== Summary"
# CTest's own lines: the count, and the failed tests if any.
sed -n '/tests passed, /p; /^The following tests/,/^Errors while running/p' "$log"
printf '%-16s%s\n' "tests:" "$(verdict "$tests")" "floors:" "$(verdict "$floors")" \
    "exe size:" "$(verdict "$exe_size")" \
    "first run:" "$(verdict "$first_run")" "packaging:" "$(verdict "$packaging")"
status=0
for s in "$tests" "$floors" "$exe_size" "$first_run" "$packaging"; do
    [ "$s" -eq 0 ] || status=1
done
[ $status -eq 0 ] && echo "All passed." || echo "Something FAILED (see above)."
exit $status

#!/bin/sh
# Measures Morrowby against its budgets (idle CPU, memory, hook cost, video
# counter tick, longest stall) beside a minimal Win32 program, under Wine on a
# private virtual display. Prints the table and writes build/x64/budgets.md.
# Takes about four minutes: two of the measurements are 60 s of idling.
set -eu
cd "$(dirname "$0")/.."
sh scripts/install-deps.sh
cmake --preset x64 >/dev/null
cmake --build --preset x64 --target bench_budgets
build="$PWD/build/x64"
export WINEPREFIX="$build/bench-prefix" DISPLAY=:151 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
sh scripts/wine-session.sh up
status=0
wine "$build/bin/bench_budgets.exe" "$(winepath -w "$build/budgets.md")" || status=$?
sh scripts/wine-session.sh down
echo "Table written to $build/budgets.md"
exit $status

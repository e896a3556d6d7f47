#!/bin/sh
# Runs every end-to-end scenario against the real morrowby.exe under Wine on a
# virtual display, and collects the screenshots they take as PNG files in
# build/x64/screenshots/.
set -eu
cd "$(dirname "$0")/.."
sh scripts/install-deps.sh
cmake --preset x64 >/dev/null
cmake --build --preset x64
status=0
ctest --preset x64 -R '^(e2e_|wine_)' || status=$?
out=build/x64/screenshots
mkdir -p "$out"
for bmp in build/x64/artifacts/*.bmp; do
    [ -f "$bmp" ] || continue
    convert "$bmp" "$out/$(basename "$bmp" .bmp).png"
done
echo "Screenshots: $out"
ls "$out"
exit $status

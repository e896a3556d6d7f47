#!/bin/sh
# Builds both architectures (where needed) and makes the two packages:
#   build/dist/Morrowby-<version>-setup.exe     per-user installer (NSIS)
#   build/dist/Morrowby-<version>-portable.zip  x64/ and x86/ morrowby.exe + README.txt
#
# Options:
#   --dist DIR       write the packages to DIR instead of build/dist
#   --target T       NSIS target of the setup program: x86-unicode (default; one
#                    setup for 32- and 64-bit Windows) or amd64-unicode (only for
#                    a 64-bit-only Wine, where a 32-bit setup cannot run)
#   --no-build       package what is built, fail if something is missing
set -eu
cd "$(dirname "$0")/.."
root=$(pwd)

dist="$root/build/dist"
target=x86-unicode
build=yes
while [ $# -gt 0 ]; do
    case "$1" in
    --dist) dist=$2; shift 2 ;;
    --target) target=$2; shift 2 ;;
    --no-build) build=no; shift ;;
    *) echo "usage: $0 [--dist DIR] [--target x86-unicode|amd64-unicode] [--no-build]" >&2; exit 2 ;;
    esac
done
case "$target" in
x86-unicode | amd64-unicode) ;;
*) echo "package.sh: unknown target $target" >&2; exit 2 ;;
esac
for tool in makensis zip; do
    command -v $tool >/dev/null || { echo "package.sh: $tool is missing (sh scripts/install-deps.sh)" >&2; exit 1; }
done

version=$(sh scripts/version.sh) || exit 1
copyright=$(sh scripts/version.sh --copyright)
maker=$(sh scripts/version.sh --maker) || exit 1
product=$(sh scripts/version.sh --product) || exit 1

for preset in x64 x86; do
    if [ "$build" = yes ]; then
        if [ ! -f "build/$preset/CMakeCache.txt" ]; then
            cmake --preset "$preset" >/dev/null
        fi
        cmake --build --preset "$preset" --target morrowby >/dev/null
    fi
    [ -f "build/$preset/bin/morrowby.exe" ] || { echo "package.sh: build/$preset/bin/morrowby.exe is missing" >&2; exit 1; }
done

mkdir -p "$dist"
dist=$(cd "$dist" && pwd)
setup="$dist/$product-$version-setup.exe"
portable="$dist/$product-$version-portable.zip"

set -- -V2 -NOCD -WX \
    "-DVERSION=$version" \
    "-DMAKER=$maker" \
    "-DPRODUCT=$product" \
    "-DX64_EXE=$root/build/x64/bin/morrowby.exe" \
    "-DX86_EXE=$root/build/x86/bin/morrowby.exe" \
    "-DOUTFILE=$setup"
[ -n "$copyright" ] && set -- "$@" "-DCOPYRIGHT=$copyright"
[ "$target" != x86-unicode ] && set -- "$@" "-DTARGET=$target"
rm -f "$setup"
makensis "$@" scripts/installer.nsi >"$dist/makensis.log" 2>&1 || {
    cat "$dist/makensis.log" >&2
    rm -f "$dist/makensis.log"
    echo "package.sh: makensis failed" >&2
    exit 1
}
rm -f "$dist/makensis.log"

# The zip is built from a staging folder so its paths are exactly x64/, x86/ and README.txt.
stage="$dist/portable.tmp"
rm -rf "$stage" "$portable"
mkdir -p "$stage/x64" "$stage/x86"
cp build/x64/bin/morrowby.exe "$stage/x64/"
cp build/x86/bin/morrowby.exe "$stage/x86/"
# Windows users open it with Notepad: CRLF line ends.
sed "s/@VERSION@/$version/g; s/\$/\r/" scripts/portable-readme.txt >"$stage/README.txt"
(cd "$stage" && zip -q -X -9 "$portable" README.txt x64/morrowby.exe x86/morrowby.exe)
rm -rf "$stage"

echo "$setup"
echo "$portable"

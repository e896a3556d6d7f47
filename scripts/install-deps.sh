#!/bin/sh
# Installs the Debian packages the build and the tests need, if any is missing.
# Never installs wine32: with it, /usr/bin/wine picks a 32-bit loader that this
# kernel cannot run, and 64-bit programs fail too.
set -eu
packages="wine wine64 fonts-wine g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
g++-mingw-w64-i686-posix binutils-mingw-w64-i686 xvfb xauth xdotool x11-utils imagemagick
cmake ninja-build googletest nsis zip python3-pil fonts-wqy-microhei
xserver-xorg-core xserver-xorg-video-dummy"
missing=""
for p in $packages; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
[ -z "$missing" ] && exit 0
echo "Installing:$missing"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo=sudo
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends $missing

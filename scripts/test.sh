#!/bin/sh
# Installs what is missing, builds both architectures, and runs every test of
# the x64 build under Wine on a private virtual display; packages both on the way.
set -eu
cd "$(dirname "$0")/.."
sh scripts/install-deps.sh
cmake --preset x64 >/dev/null
cmake --build --preset x64
# The 32-bit build cannot run here; it is compiled, tests included.
cmake --preset x86 >/dev/null
cmake --build --preset x86
# The installer and the portable zip, as CI's artifacts.
sh scripts/package.sh --no-build
ctest --preset x64 "$@"

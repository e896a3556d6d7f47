#!/bin/sh
# Prints Morrowby's version (1.2.3.4) as res/version.h defines it, or with
# --copyright its copyright line. The scripts read both from here only.
#
# usage: version.sh [--copyright] [repository root]
set -eu
what=version
if [ "${1:-}" = --copyright ]; then
    what=copyright
    shift
fi
header="${1:-$(dirname "$0")/..}/res/version.h"
[ -f "$header" ] || { echo "version.sh: $header is missing" >&2; exit 1; }

if [ $what = copyright ]; then
    sed -n 's/^#define MORROWBY_COPYRIGHT[[:space:]]*"\(.*\)"[[:space:]]*$/\1/p' "$header"
    exit 0
fi
part() {
    sed -n "s/^#define MORROWBY_VERSION_$1[[:space:]]\{1,\}\([0-9]\{1,\}\)[[:space:]]*$/\1/p" "$header"
}
version="$(part MAJOR).$(part MINOR).$(part PATCH).$(part BUILD)"
case "$version" in
*[0-9].*[0-9].*[0-9].*[0-9]) echo "$version" ;;
*) echo "version.sh: cannot read the version from $header (got '$version')" >&2; exit 1 ;;
esac

#!/bin/sh
# Prints Morrowby's version (1.2.3.4) as res/version.h defines it, or with
# --copyright its copyright line, --maker the maker's name or --product the
# product's name. The scripts read all of these from here only.
#
# usage: version.sh [--copyright | --maker | --product] [repository root]
set -eu
what=version
case "${1:-}" in
--copyright) what=COPYRIGHT; shift ;;
--maker) what=MAKER_NAME; shift ;;
--product) what=PRODUCT_NAME; shift ;;
esac
header="${1:-$(dirname "$0")/..}/res/version.h"
[ -f "$header" ] || { echo "version.sh: $header is missing" >&2; exit 1; }

if [ $what != version ]; then
    text=$(sed -n "s/^#define MORROWBY_$what[[:space:]]*\"\(.*\)\"[[:space:]]*\$/\1/p" "$header")
    if [ -z "$text" ] && [ $what != COPYRIGHT ]; then
        echo "version.sh: cannot read MORROWBY_$what from $header" >&2
        exit 1
    fi
    echo "$text"
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

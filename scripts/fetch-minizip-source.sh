#!/usr/bin/env bash
# Fetches Debian's own minizip source (the version the Linux build links, with
# Debian's patches applied) for the Windows build, which compiles its unzip.c,
# ioapi.c and zip.c against MinGW-w64's zlib (VELMIRA_MINIZIP_SOURCE_DIR).
# Cached outside the source tree, fetched only when missing. Prints the folder
# that holds unzip.c on its last line.
# Usage: scripts/fetch-minizip-source.sh
set -euo pipefail

scripts=$(cd "$(dirname "$0")" && pwd)

version=1.1-8+deb12u1
cache=${VELMIRA_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/velmira}
prefix="$cache/minizip-$version-source"

log() { echo "$(date -u +%H:%M:%S) $*" >&2; }

if [ -f "$prefix/.complete" ]; then
    cat "$prefix/.complete"
    exit 0
fi

work="$cache/minizip-fetch"
rm -rf "$work" "$prefix"
mkdir -p "$work"
cd "$work"

log "fetching Debian's minizip source $version"
"$scripts/debian-source.sh" "minizip=$version"
src=$(dirname "$(find "$work" -name unzip.c -path '*minizip*' | head -n1)")
[ -f "$src/ioapi.c" ] && [ -f "$src/zip.c" ] || { echo "no minizip sources in $work" >&2; exit 1; }

mkdir -p "$prefix"
cp -R "$src/." "$prefix/"
echo "$prefix" > "$prefix/.complete"
rm -rf "$work"
log "done"
echo "$prefix"

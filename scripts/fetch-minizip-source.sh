#!/usr/bin/env bash
# Fetches Debian's own minizip source (the version the Linux build links, with
# Debian's patches applied) for the Windows build, which compiles its unzip.c,
# ioapi.c and zip.c against MinGW-w64's zlib (VELMIRA_MINIZIP_SOURCE_DIR).
# Cached outside the source tree, fetched only when missing. Prints the folder
# that holds unzip.c on its last line.
# Usage: scripts/fetch-minizip-source.sh
set -euo pipefail

version=1.1-8+deb12u1
cache=${VELMIRA_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/velmira}
prefix="$cache/minizip-$version-source"

log() { echo "$(date -u +%H:%M:%S) $*" >&2; }
fail() { tail -n 60 "$1" >&2; exit 1; }

if [ -f "$prefix/.complete" ]; then
    cat "$prefix/.complete"
    exit 0
fi

work="$cache/minizip-fetch"
rm -rf "$work" "$prefix"
mkdir -p "$work"
cd "$work"

# Through a private apt configuration, as build-qt-mingw.sh fetches Qt, so
# that the machine's own sources stay as they are.
mkdir -p apt/lists/partial apt/sources.list.d
printf 'deb-src http://deb.debian.org/debian bookworm main\n' > apt/sources.list
printf 'deb-src http://deb.debian.org/debian-security bookworm-security main\n' >> apt/sources.list
printf 'deb-src http://deb.debian.org/debian bookworm-updates main\n' >> apt/sources.list
apt_opts=(-o "Dir::Etc::SourceList=$work/apt/sources.list" -o APT::Sandbox::User=root
          -o "Dir::Etc::SourceParts=$work/apt/sources.list.d"
          -o "Dir::State::Lists=$work/apt/lists"
          -o "Dir::Cache::pkgcache=" -o "Dir::Cache::srcpkgcache=")
log "fetching Debian's minizip source $version"
apt-get "${apt_opts[@]}" update -qq
apt-get "${apt_opts[@]}" source "minizip=$version" > source.log 2>&1 || fail source.log
src=$(dirname "$(find "$work" -name unzip.c -path '*minizip*' | head -n1)")
[ -f "$src/ioapi.c" ] && [ -f "$src/zip.c" ] || { echo "no minizip sources in $work" >&2; exit 1; }

mkdir -p "$prefix"
cp -R "$src/." "$prefix/"
echo "$prefix" > "$prefix/.complete"
rm -rf "$work"
log "done"
echo "$prefix"

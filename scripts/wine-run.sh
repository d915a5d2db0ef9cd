#!/usr/bin/env bash
# Runs a cross-built Windows program under Wine: the emulator that CMake and
# ctest put before every cross-built executable. The Wine prefix is the given
# folder (made on first use), never the user's own ~/.wine; DLLs are found
# through the given Linux folders. A program that hangs is killed after
# VELMIRA_WINE_TIMEOUT seconds (default 900).
# Usage: scripts/wine-run.sh --prefix DIR --path DIR[:DIR...] PROGRAM [ARGUMENT...]
set -euo pipefail

prefix=
path=
while [ $# -gt 0 ]; do
    case "$1" in
        --prefix) prefix=$2; shift 2 ;;
        --path) path=$2; shift 2 ;;
        *) break ;;
    esac
done
[ -n "$prefix" ] && [ $# -gt 0 ] || { echo "usage: $0 --prefix DIR [--path DIRS] PROGRAM [ARGUMENT...]" >&2; exit 2; }

export WINEPREFIX=$prefix
export WINEARCH=win64
export WINEDEBUG=${WINEDEBUG:--all}
# No Mono or Gecko (nothing here needs them, and their installers would ask),
# and no Linux menu entries for Windows shortcuts.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=;winemenubuilder.exe=d}
winepath=
IFS=: read -r -a dirs <<< "$path"
for dir in "${dirs[@]}"; do
    [ -n "$dir" ] && winepath+="Z:${dir//\//\\};"
done
export WINEPATH=$winepath

# Several tests may start at once: one of them makes the prefix.
mkdir -p "$(dirname "$prefix")"
(
    flock 9
    if [ ! -f "$prefix/system.reg" ]; then
        timeout 300 wineboot -i >/dev/null 2>&1 || true
        timeout 120 wineserver -w || true
    fi
) 9>"$prefix.lock"

exec timeout -k 10 "${VELMIRA_WINE_TIMEOUT:-900}" wine "$@"

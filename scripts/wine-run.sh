#!/usr/bin/env bash
# Runs a cross-built Windows program under Wine: the emulator that CMake and
# ctest put before every cross-built executable. The Wine prefix is the given
# folder (made on first use), never the user's own ~/.wine; DLLs are found
# through the given Linux folders. A program that hangs is killed after
# VELMIRA_WINE_TIMEOUT seconds (default 900).
# Without a program it only makes the prefix.
# Usage: scripts/wine-run.sh --prefix DIR [--path DIR[:DIR...]] [PROGRAM [ARGUMENT...]]
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
[ -n "$prefix" ] || { echo "usage: $0 --prefix DIR [--path DIRS] [PROGRAM [ARGUMENT...]]" >&2; exit 2; }

. "$(dirname "$0")/lib.sh"
wine_environment "$prefix"
winepath=
IFS=: read -r -a dirs <<< "$path"
for dir in "${dirs[@]}"; do
    [ -n "$dir" ] && winepath+="Z:${dir//\//\\};"
done
export WINEPATH=$winepath

# Several tests may start at once: one of them makes the prefix. The prefix
# is for tests: its Windows environment selects Qt's offscreen platform, with
# Debian's DejaVu (fonts-dejavu-core) as the fonts that platform reads itself
# on Windows. It has to be the prefix's: Wine hands no QT_* variable of the
# Unix environment to Windows programs.
mkdir -p "$(dirname "$prefix")"
(
    flock 9
    if [ ! -f "$prefix/system.reg" ]; then
        timeout 300 wineboot -i >/dev/null 2>&1 || true
        timeout 60 wine reg add 'HKCU\Environment' /v QT_QPA_PLATFORM /t REG_SZ \
            /d offscreen /f >/dev/null 2>&1
        timeout 60 wine reg add 'HKCU\Environment' /v QT_QPA_FONTDIR /t REG_SZ \
            /d 'Z:\usr\share\fonts\truetype\dejavu' /f >/dev/null 2>&1
        timeout 120 wineserver -w || true
    fi
) 9>"$prefix.lock"
[ $# -gt 0 ] || exit 0  # made the prefix only

# Wine hands no QT_* variable of the Unix environment to Windows programs, so
# those set here (a test's display scale, say) are set again by cmd before it
# starts the program (whose path must then be free of spaces).
qt_settings=()
while IFS='=' read -r name value; do
    [ -n "$name" ] && qt_settings+=("set $name=$value&&")
done < <(env | grep -E '^QT_[A-Z0-9_]+=' || true)
run() {
    if [ ${#qt_settings[@]} -gt 0 ]; then
        local program=$1; shift
        timeout -k 10 "${VELMIRA_WINE_TIMEOUT:-900}" \
            wine cmd /c "${qt_settings[*]} $(winepath -w "$program" 2>/dev/null) $*"
    else
        timeout -k 10 "${VELMIRA_WINE_TIMEOUT:-900}" wine "$@"
    fi
}

# A QtTest executable's own output does not reach a Unix pipe through Wine, so
# it writes its log to a file, which is then shown as its output.
if x86_64-w64-mingw32-objdump -p "$1" 2>/dev/null | grep 'DLL Name: Qt[56]Test' >/dev/null; then
    log=$(mktemp)
    trap 'rm -f "$log"' EXIT
    status=0
    run "$@" -o "Z:${log//\//\\},txt" || status=$?
    cat "$log"
    [ -s "$log" ] || echo "$0: $1 wrote no test log (exit status $status)" >&2
    exit "$status"
fi
run "$@"

#!/usr/bin/env bash
# Runs a cross-built Windows program under Wine on Qt's windows platform, as the
# installed program runs, at a Windows display setting given as LogPixels (96
# is 100 %, 120 is 125 %, 144 is 150 %, 192 is 200 %), with Windows' dialog
# font. Its prefix is for such runs only, since the setting is the prefix's
# (never the user's own ~/.wine); an X display (Xvfb) must be there. The rest
# is scripts/wine-run.sh's.
# Usage: scripts/wine-windows-platform.sh LOGPIXELS --prefix DIR [--path DIRS] PROGRAM [ARGUMENT...]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
dpi=${1:-}
[[ "$dpi" =~ ^[0-9]+$ ]] && [ "${2:-}" = --prefix ] && [ -n "${3:-}" ] || {
    echo "usage: $0 LOGPIXELS --prefix DIR [--path DIRS] PROGRAM [ARGUMENT...]" >&2
    exit 2
}
shift
prefix=$2
[ -n "${DISPLAY:-}" ] || { echo "$0: the windows platform needs an X display" >&2; exit 1; }

. "$here/lib.sh"
"$here/wine-run.sh" --prefix "$prefix"  # made on first use
wine_environment "$prefix"
# Windows' dialog font, "MS Shell Dlg 2", is Tahoma; without it in the prefix's
# Fonts folder Wine falls back to a wide serif face.
cp -n /usr/share/wine/fonts/tahoma.ttf /usr/share/wine/fonts/tahomabd.ttf \
    "$prefix/drive_c/windows/Fonts/"
# The server a run before this one left may still be ending: the setting is
# written to a fresh one.
wine_stop
for key in 'HKCU\Control Panel\Desktop' \
    'HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts'; do
    timeout 60 wine reg add "$key" /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1 \
        || fail "LogPixels $dpi could not be set in $prefix"
done
# Programs started from here on see the setting; a running server keeps the old one.
wine_stop

QT_QPA_PLATFORM=windows exec "$here/wine-run.sh" "$@"

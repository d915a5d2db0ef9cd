#!/usr/bin/env bash
# Cross-builds Qt 5 for 64-bit Windows with Debian's MinGW-w64 from Debian's own
# qtbase source (the version the Linux build uses), only the parts Velmira and
# its tests need. The result is cached outside the source tree under a name that
# carries a hash of the configure line, and rebuilt only when that folder is
# missing. Prints the prefix of the built Qt on its last line.
# Usage: scripts/build-qt-mingw.sh
set -euo pipefail

scripts=$(cd "$(dirname "$0")" && pwd)

version=5.15.8
cache=${VELMIRA_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/velmira}
jobs=${VELMIRA_JOBS:-$(nproc)}

configure_args=(
    -xplatform win32-g++ -device-option CROSS_COMPILE=x86_64-w64-mingw32-
    -opensource -confirm-license -shared -release
    -nomake examples -nomake tests
    -qt-zlib -qt-libpng -qt-libjpeg -qt-freetype -qt-harfbuzz -qt-pcre
    -no-feature-tabletevent -no-opengl -no-dbus -no-icu
)
# What is built, per Makefile folder: Core, Gui, Widgets, Test and WinMain with
# the host tools they need, the windows and offscreen platform plugins, the
# JPEG plugin and the style plugin. Network, Sql, Xml, PrintSupport and the
# rest of qtbase are never built.
modules=(sub-corelib sub-gui sub-widgets sub-testlib sub-winmain
         sub-platformsupport sub-3rdparty-libjpeg sub-moc sub-rcc sub-uic)
installed=(sub-corelib sub-gui sub-widgets sub-testlib sub-winmain sub-moc sub-rcc sub-uic)
plugins=(platforms:sub-windows platforms:sub-offscreen imageformats:sub-jpeg
         styles:sub-windowsvista)

log() { echo "$(date -u +%H:%M:%S) $*" >&2; }
fail() { tail -n 60 "$1" >&2; exit 1; }

# Installed from the top folder: qmake and the mkspecs (CMake's Qt5Core names
# the target's mkspec folder as an include path).
top_installs=(sub-qmake-qmake-aux-pro-install_subtargets install_mkspecs)

hash=$(printf '%s\n' "$version" "${configure_args[@]}" "${modules[@]}" "${plugins[@]}" "${top_installs[@]}" \
    | sha256sum | cut -c1-12)
prefix="$cache/qt-$version-mingw64-$hash"
if [ -f "$prefix/.complete" ]; then
    echo "$prefix"
    exit 0
fi

work="$cache/build-$hash"
rm -rf "$work" "$prefix"
mkdir -p "$work"
cd "$work"

log "fetching Debian's qtbase source"
"$scripts/debian-source.sh" qtbase-opensource-src
# The Linux build's version, or nothing.
src=$(ls -d qtbase-opensource-src-"$version"*/ | head -n1)
[ -n "$src" ] || { echo "Debian's qtbase source is not $version" >&2; exit 1; }

mkdir build
cd build
log "configuring Qt $version for MinGW-w64 into $prefix"
"../${src%/}/configure" -prefix "$prefix" "${configure_args[@]}" > ../configure.log 2>&1 || fail ../configure.log
make sub-src-qmake_all > ../qmake.log 2>&1 || fail ../qmake.log
log "building ${modules[*]}"
make -C src -j"$jobs" "${modules[@]}" > ../make.log 2>&1 || fail ../make.log
for plugin in "${plugins[@]}"; do
    log "building plugin ${plugin}"
    make -C "src/plugins/${plugin%%:*}" -j"$jobs" "${plugin#*:}" >> ../make.log 2>&1 || fail ../make.log
done
log "installing"
{
    make "${top_installs[@]}"
    for target in "${installed[@]}"; do make -C src "$target-install_subtargets"; done
    for plugin in "${plugins[@]}"; do
        make -C "src/plugins/${plugin%%:*}" "${plugin#*:}-install_subtargets"
    done
} > ../install.log 2>&1 || fail ../install.log
touch "$prefix/.complete"
cd "$cache"
rm -rf "$work"
log "done"
echo "$prefix"

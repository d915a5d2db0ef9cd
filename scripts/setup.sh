#!/usr/bin/env bash
# Installs the Debian packages that a task needs, and only those missing.
# Usage: scripts/setup.sh build|run|docs|test|package|windows
set -euo pipefail

build=(cmake make g++ pkg-config qtbase5-dev fonts-dejavu-core)
run=(xvfb x11-apps x11-utils netpbm)  # a screenshot when there is no display
# The README's screenshots at several display scales.
docs=(openbox x11-xserver-utils xdotool)
# dpkg-dev and file: CPack reads the package's library dependencies with them.
test=(qt6-base-dev qt6-qpa-plugins clang libclang-rt-14-dev dpkg-dev file)
# The Debian package's checks (scripts/test-package.sh).
package=(lintian devscripts desktop-file-utils appstream man-db strace procps)
# The Windows program: cross compiler, Qt's source (apt-get source unpacks with
# dpkg-dev), the installer's makensis, rsvg-convert and icotool for the icon,
# and Wine (with its own Tahoma) to test it on Xvfb, xdotool to press and close,
# xclip to read the clipboard, locales for the Russian code page.
windows=(g++-mingw-w64-x86-64-posix mingw-w64-tools dpkg-dev xz-utils nsis icoutils librsvg2-bin
         wine wine64 fonts-wine xvfb x11-apps x11-utils netpbm xdotool xclip locales)

case "${1:-}" in
    build) wanted=("${build[@]}") ;;
    run) wanted=("${build[@]}" "${run[@]}") ;;
    docs) wanted=("${build[@]}" "${run[@]}" "${docs[@]}") ;;
    test) wanted=("${build[@]}" "${test[@]}") ;;
    package) wanted=("${build[@]}" "${test[@]}" "${package[@]}") ;;
    windows) wanted=("${build[@]}" "${windows[@]}") ;;
    *) echo "usage: $0 build|run|docs|test|package|windows" >&2; exit 2 ;;
esac

missing=()
for package in "${wanted[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$package")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
echo "Installing: ${missing[*]}"
"${sudo[@]}" apt-get update -qq
# Waits for another apt run (an automatic upgrade, say) instead of failing at once.
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq -o DPkg::Lock::Timeout=600 \
    --no-install-recommends "${missing[@]}"

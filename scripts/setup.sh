#!/usr/bin/env bash
# Installs the Debian packages that a task needs, and only those missing.
# Usage: scripts/setup.sh build|run|docs|test|package|windows
set -euo pipefail

# minizip: the ZIP container of the workbooks velmira-stats reads.
build=(cmake make g++ pkg-config qtbase5-dev libminizip-dev fonts-dejavu-core)
run=(xvfb x11-apps x11-utils netpbm xdotool)  # a screenshot when there is no display
# The README's screenshots at several display scales.
docs=(openbox x11-xserver-utils xdotool)
# scikit-learn, statsmodels and pdftotext: the checks of velmira-stats' fit and report;
# openpyxl and odfpy: the workbook reader's oracle and its fixtures' script.
# Qt's lupdate and lrelease, for Qt 5 and Qt 6, and their CMake packages: the check of the texts.
# A desktop for the calculator's own check on real screens: displays and a window
# manager, keys and the clipboard, a screen reader's bus and view, and the word
# processor a conclusion is pasted into.
test=(qt6-base-dev qt6-qpa-plugins clang libclang-rt-14-dev
      python3-sklearn python3-statsmodels poppler-utils python3-openpyxl python3-odf
      qttools5-dev qttools5-dev-tools qt6-tools-dev qt6-l10n-tools
      xvfb openbox xdotool xclip x11-utils x11-xserver-utils dbus-daemon at-spi2-core python3-pyatspi
      libreoffice-writer-nogui)
# The Debian packages' build (debian/control's Build-Depends, with build-essential,
# which dpkg-buildpackage asks for, and git and xz for the copy it builds from)
# and their checks (scripts/test-package.sh; file tells a stripped program).
package=(build-essential debhelper dpkg-dev cmake qt6-base-dev libminizip-dev pkg-config
         fonts-dejavu-core git xz-utils
         lintian devscripts desktop-file-utils appstream man-db strace procps binutils file)
# The Windows program: cross compiler, Qt's source (apt-get source unpacks with
# dpkg-dev), the installer's makensis, rsvg-convert and icotool for the icon,
# and Wine (with its own Tahoma) to test it on Xvfb, xdotool to press and close,
# xclip to read the clipboard, locales for the Russian code page.
windows=(g++-mingw-w64-x86-64-posix mingw-w64-tools libz-mingw-w64-dev dpkg-dev xz-utils nsis icoutils librsvg2-bin
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

. "$(dirname "$0")/lib.sh"
install_missing "${wanted[@]}"

#!/usr/bin/env bash
# The Windows program, built and tested on this machine: cross-builds Qt (once,
# cached) and Velmira, runs the test suite under Wine, makes the ZIP and the
# installer, shows its first Russian page and the uninstaller's, installs
# silently under Wine, starts the installed program the way its Start-menu
# shortcut does, presses and closes it, takes screenshots at 100 %, 125 %, 150 %
# and 200 %, reinstalls over an edited statistics file and uninstalls.
# Everything Wine writes stays in a prefix inside the build folder.
# Usage: scripts/windows-test.sh [build folder]   (default: build-windows)
# VELMIRA_MINGW_QT=<prefix> uses a Qt for MinGW-w64 built elsewhere.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(mkdir -p "${1:-$root/build-windows}" && cd "${1:-$root/build-windows}" && pwd)
jobs=$(nproc)
shots="$build/screenshots"
. "$root/scripts/lib.sh"

step "Qt for MinGW-w64"
qt=${VELMIRA_MINGW_QT:-$("$root/scripts/build-qt-mingw.sh" | tail -n1)}

step "minizip's source"
minizip=$("$root/scripts/fetch-minizip-source.sh" | tail -n1)

step "velmira.exe and the tests"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/MinGW-w64.toolchain.cmake" \
    -DCMAKE_PREFIX_PATH="$qt" -DVELMIRA_MINIZIP_SOURCE_DIR="$minizip" -DVELMIRA_BENCHMARKS=OFF >/dev/null
cmake --build "$build" -j"$jobs"
# The version as the build has it, in its generated header.
version=$(sed -n 's/^#define VELMIRA_VERSION "\(.*\)"$/\1/p' "$build/generated/velmiraversion.h")
package="$build/velmira-$version-win64"
# Subsystem 2 is the Windows GUI: no console window opens beside the program.
headers=$(x86_64-w64-mingw32-objdump -p "$build/velmira.exe")
grep -Eq '^Subsystem[[:space:]]+0+2[[:space:]]' <<<"$headers" || fail "velmira.exe is not a GUI-subsystem executable"
# Its icon (type 14, the group) for Explorer and its version details (type 16).
resources=$(wrestool -l "$build/velmira.exe")
echo "$resources"
grep -q -- '--type=14 ' <<<"$resources" || fail "velmira.exe has no icon"
grep -q -- '--type=16 ' <<<"$resources" || fail "velmira.exe has no version resource"

# Fresh Wine prefixes in the build folder, one for the tests (on Qt's offscreen
# platform) and one to install into; the user's own ~/.wine is never used.
wine_environment "$build/wine"
unset QT_QPA_PLATFORM  # the tests set their own; the installed program uses Windows'
work=$(mktemp -d)
cleanup() {
    [ -n "${app:-}" ] && kill "$app" 2>/dev/null || true
    wine_stop
    stop_xvfb
    rm -rf "$work"
}
trap cleanup EXIT

# Every Wine call is bounded, so that a hung Wine cannot eat the CI's time.
wine_do() { timeout -k 10 "${WINE_TIMEOUT:-300}" wine "$@"; }
wine_wait() { timeout -k 10 120 wineserver -w || fail "Wine did not settle"; }

# Tall enough for the window at 200 % (LogPixels 192).
start_xvfb 1700x1700

step "Wine prefix for the tests"
rm -rf "$WINEPREFIX"
"$root/scripts/wine-run.sh" --prefix "$WINEPREFIX"
[ -f "$WINEPREFIX/system.reg" ] || fail "wineboot made no prefix"

step "test suite under Wine (offscreen platform)"
ctest --test-dir "$build" --output-on-failure --timeout 1500

step "statistics in Windows-1251 under a Russian locale"
# Wine takes the ANSI code page from the Unix locale: ru_RU gives 1251. The
# locale is compiled into the build folder, not into the machine's.
mkdir -p "$build/locale"
localedef -i ru_RU -f UTF-8 "$build/locale/ru_RU.UTF-8" 2>/dev/null || [ -d "$build/locale/ru_RU.UTF-8" ]
wine_stop  # a running server keeps the old code page
LOCPATH="$build/locale" LANG=ru_RU.UTF-8 LC_ALL=ru_RU.UTF-8 VELMIRA_EXPECT_CP1251=1 \
    ctest --test-dir "$build" --output-on-failure -R '^tst_codepage$'
wine_stop

keeper_exe=velmira-stats-gui.exe

step "ZIP and installer"
rm -f "$package.zip" "$package.exe"
(cd "$build" && cpack -G "NSIS;ZIP" >"$build/cpack.log") || { cat "$build/cpack.log"; fail "cpack failed"; }
[ -f "$package.exe" ] && [ -f "$package.zip" ] || fail "cpack made no $package.exe or .zip"
listing=$(cmake -E tar tf "$package.zip")
for file in velmira.exe velmira-stats.exe Qt5Core.dll Qt5Gui.dll Qt5Widgets.dll \
    platforms/qwindows.dll imageformats/qjpeg.dll styles/qwindowsvistastyle.dll \
    libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll \
    Statistics_1.txt Statistics_2.txt Tavrel.jpg stet.png README.txt $keeper_exe zlib1.dll; do
    grep -qx "velmira-$version-win64/$file" <<<"$listing" || fail "the ZIP lacks $file"
done
# The DLLs follow the program's imports: the test library is not among them.
! grep -q 'Qt5Test' <<<"$listing" || fail "the ZIP holds Qt5Test.dll, which the program does not load"

step "Wine prefix to install into"
wine_stop
wine_environment "$build/wine-install"
rm -rf "$WINEPREFIX"
timeout -k 10 300 wineboot -i >/dev/null 2>&1 || fail "wineboot failed"
wine_wait
# Windows' dialog font is Tahoma ("MS Shell Dlg 2"). Wine does not find the one
# of fonts-wine by itself and falls back to a wide serif face; in the prefix's
# Fonts folder it is used as on Windows.
cp /usr/share/wine/fonts/tahoma.ttf /usr/share/wine/fonts/tahomabd.ttf "$WINEPREFIX/drive_c/windows/Fonts/"

drive_c="$WINEPREFIX/drive_c"
program_dir="$drive_c/Program Files/Velmira"
data_dir="$drive_c/ProgramData/Velmira"
shortcut="$drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Velmira/Velmira.lnk"
keeper_shortcut="$drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Velmira/Velmira — статистика клиники.lnk"

install_silently() {
    wine_do "$package.exe" /S || fail "the installer failed"
    wine_wait
    [ -f "$program_dir/velmira.exe" ] || fail "no velmira.exe in Program Files"
    [ -f "$program_dir/velmira-stats.exe" ] || fail "no velmira-stats.exe in Program Files"
    [ -f "$program_dir/platforms/qwindows.dll" ] || fail "no platform plugin in Program Files"
    [ -f "$program_dir/Uninstall.exe" ] || fail "no uninstaller"
    for file in Statistics_1.txt Statistics_2.txt Tavrel.jpg stet.png; do
        [ -f "$data_dir/$file" ] || fail "no $file in %ProgramData%\\Velmira"
    done
    [ -f "$shortcut" ] || fail "no Start-menu shortcut"
    [ -f "$program_dir/$keeper_exe" ] || fail "no $keeper_exe in Program Files"
    [ -f "$keeper_shortcut" ] || fail "no Start-menu shortcut to the keeper's window"
    strings -el "$keeper_shortcut" | grep -qi 'velmira-stats-gui\.exe' \
        || fail "the keeper's shortcut does not start $keeper_exe"
    # The shortcut names the program and, as "Start in", the data folder.
    # The target is stored folder by folder, the working folder as one string.
    strings -el "$shortcut" >"$work/shortcut.txt"
    # The full paths (working folder, icon) are left out of the target's folders.
    target=$(grep -v '[A-Z]:\\' "$work/shortcut.txt" | tr '\n' '\\')
    grep -qi 'Program Files\\Velmira\\velmira.exe\\' <<<"$target" || fail "the shortcut does not start velmira.exe"
    grep -qix 'C:\\ProgramData\\Velmira' "$work/shortcut.txt" || fail "the shortcut does not start in %ProgramData%\\Velmira"
    # The icon's path follows its length, which strings may take for a letter.
    grep -qi 'C:\\Program Files\\Velmira\\velmira\.exe$' "$work/shortcut.txt" || fail "the shortcut does not show the program's icon"
}

# The installer's and the uninstaller's pages are Russian and show the
# program's icon. first_page starts one, waits for its window by the Russian
# title, photographs it and ends it with the prefix's server: by then it has
# installed or removed nothing.
first_page() {  # title, screenshot file, program [argument...]
    local title=$1 file=$2 page=
    shift 2
    timeout -k 10 120 wine "$@" &
    for _ in $(seq 300); do
        page=$(xdotool search --onlyvisible --name "^$title" 2>/dev/null | head -n1) && [ -n "$page" ] && break
        sleep 0.1
    done
    [ -n "$page" ] || fail "no window titled '$title'"
    sleep 2  # let it paint
    screenshot "$page" "$file"
    wine_stop
    wait $! 2>/dev/null || true
}
# The icon's sizes, as Explorer reads them from a program's icon group.
icon_sizes() { wrestool -x -t14 "$1" 2>/dev/null | icotool -l - 2>/dev/null | grep -o -- '--width=[0-9]* --height=[0-9]*'; }
program_icon=$(icon_sizes "$build/velmira.exe")
grep -q -- '--width=256 --height=256' <<<"$program_icon" || fail "velmira.exe's icon lacks the 256-pixel image"
[ "$(icon_sizes "$package.exe")" = "$program_icon" ] || fail "the installer does not show the program's icon"

step "the installer's first page"
mkdir -p "$shots"
first_page 'Установка Velmira' "$shots/installer.png" "$package.exe"

step "silent install"
install_silently

step "velmira-stats.exe on a Windows-1251 case log"
# As a clinic runs it from a console: the example log, saved by a spreadsheet
# on a Russian Windows, into both tables and the report.
stats_out="$work/stats"
mkdir -p "$stats_out"
cp "$root/data/examples/synthetic-case-log-cp1251.csv" "$stats_out/"
(cd "$stats_out" && wine_do 'C:\Program Files\Velmira\velmira-stats.exe' synthetic-case-log-cp1251.csv \
    >"$work/stats.log" 2>&1) || { cat "$work/stats.log"; fail "velmira-stats.exe failed"; }
wine_wait
for name in Statistics_1.txt Statistics_2.txt Statistics_report.pdf; do
    [ -s "$stats_out/$name" ] || fail "velmira-stats.exe wrote no $name"
done
grep -q '^# Статистика клиники: ' "$stats_out/Statistics_1.txt" || fail "Statistics_1.txt lacks its summary line"
head -c 5 "$stats_out/Statistics_report.pdf" | grep -q '%PDF-' || fail "the report is no PDF"
echo "velmira-stats.exe: both tables and the report from the Windows-1251 log"
[ "$(icon_sizes "$program_dir/Uninstall.exe")" = "$program_icon" ] || fail "the uninstaller does not show the program's icon"
# The "Programs and Features" entry.
entry=$(wine_do reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Velmira' | tr -d '\r')
echo "$entry"
for value in "DisplayIcon.*velmira\.exe,0" "DisplayVersion.*$version" "Publisher.*Velmira developers" \
    "EstimatedSize.*0x[0-9a-f]" "URLInfoAbout.*https://" "HelpLink.*https://"; do
    grep -Eq "^ +$value" <<<"$entry" || fail "the uninstall entry lacks $value"
done

window=
start_program() {  # in the data folder, as the shortcut starts it
    (cd "$data_dir" && exec timeout -k 10 300 wine 'C:\Program Files\Velmira\velmira.exe') &
    app=$!
    window=$(wait_for_window Velmira "$app")
    sleep 2  # let it paint
}
close_program() {
    xdotool windowfocus --sync "$window" key alt+F4
    local status=0
    wait "$app" || status=$?
    app=
    [ "$status" -eq 0 ] || fail "the program ended with exit status $status"
    wine_wait
}

step "the installed program, started as its shortcut starts it"
mkdir -p "$shots"
start_program
# The picture: the view holds many colours, not a blank field.
screenshot "$window" "$shots/velmira-96dpi-before.png"
colours=$(pngtopnm "$shots/velmira-96dpi-before.png" | pamcut -left 30 -top 110 -width 300 -height 400 \
    | ppmhist -noheader | wc -l)
[ "$colours" -gt 50 ] || fail "the picture is not drawn ($colours colours)"
# Press "Расчет" and copy the figure out of its field through the clipboard.
# Both sit at fixed positions in the page below the tab bar.
xdotool mousemove --window "$window" 419 67 click 1
sleep 1
xdotool mousemove --window "$window" 255 742 click 1 key ctrl+a ctrl+c
sleep 1
figure=$(timeout 10 xclip -o -selection clipboard 2>/dev/null || true)
expected=$(sed -n 's/^1\.45,\([0-9]*\).*/\1/p' "$root/data/Statistics_1.txt" | tail -n1)
[ "$figure" = "$expected" ] || fail "the initial press gave '$figure', the Linux build gives '$expected'"
# The conclusion for the patient record, from the same field by its shortcut.
xdotool key ctrl+shift+c
sleep 1
conclusion=$(timeout 10 xclip -o -selection clipboard 2>/dev/null || true)
grep -q "СОСТАВЛЯЕТ: $expected %" <<<"$conclusion" && grep -q '^Основание: Таблица 10-12 Ch' <<<"$conclusion" \
    && grep -q '^Рассчитано: Velmira ' <<<"$conclusion" \
    || fail "the copied conclusion is not the press's: '$conclusion'"
screenshot "$window" "$shots/velmira-96dpi.png"
close_program
echo "initial press: $figure %, exit status 0"

# Windows' display scaling at 125 %, 150 % and 200 %.
for dpi in 120 144 192; do
    step "display scaling: LogPixels $dpi"
    wine_do reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null
    wine_do reg add 'HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts' \
        /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null
    wine_stop
    start_program
    screenshot "$window" "$shots/velmira-${dpi}dpi.png"
    close_program
done
wine_do reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 96 /f >/dev/null
wine_do reg add 'HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts' \
    /v LogPixels /t REG_DWORD /d 96 /f >/dev/null
wine_wait

step "the keeper's window opens the workbook it is given, as \"Open with\" does"
(exec timeout -k 10 300 wine "C:\\Program Files\\Velmira\\$keeper_exe" \
    "$(winepath -w "$root/tests/workbooks/calc/log.xlsx")") &
app=$!
# The window names the log once it has read and shown it.
window=$(wait_for_window "log.xlsx — Velmira — статистика клиники" "$app")
sleep 2  # let it paint
screenshot "$window" "$shots/velmira-stats-gui.png"
close_program
echo "velmira-stats-gui.exe read log.xlsx"

step "reinstall keeps the clinic's statistics"
printf '# edited by the clinic\n' >>"$data_dir/Statistics_1.txt"
cp "$data_dir/Statistics_1.txt" "$work/edited.txt"
install_silently
cmp -s "$work/edited.txt" "$data_dir/Statistics_1.txt" || fail "reinstalling replaced the clinic's Statistics_1.txt"

step "velmira-stats.exe --install into %ProgramData%\\Velmira"
# The tables made above, from the current folder, over the clinic's edited
# ones, which are kept beside under time-stamped names.
(cd "$stats_out" && wine_do 'C:\Program Files\Velmira\velmira-stats.exe' --install 'C:\ProgramData\Velmira' \
    >"$work/install.log" 2>&1) || { cat "$work/install.log"; fail "velmira-stats.exe --install failed"; }
wine_wait
for name in Statistics_1.txt Statistics_2.txt; do
    cmp -s "$stats_out/$name" "$data_dir/$name" || fail "--install did not put $name into %ProgramData%\\Velmira"
done
kept=$(find "$data_dir" -name 'Statistics_1.*.txt' | head -n1)
[ -n "$kept" ] && cmp -s "$work/edited.txt" "$kept" || fail "--install kept no copy of the clinic's Statistics_1.txt"
cp "$data_dir/Statistics_1.txt" "$work/edited.txt"
echo "velmira-stats.exe --install: both tables, the clinic's kept as $(basename "$kept")"

step "the uninstaller's first page"
first_page 'Удаление Velmira' "$shots/uninstaller.png" 'C:\Program Files\Velmira\Uninstall.exe'
[ -f "$program_dir/velmira.exe" ] || fail "showing the uninstaller's page removed the program"

step "uninstall"
# _?= runs the uninstaller in place, so that it ends when its work is done.
wine_do "C:\\Program Files\\Velmira\\Uninstall.exe" /S '_?=C:\Program Files\Velmira' || fail "the uninstaller failed"
wine_wait
[ ! -e "$program_dir/velmira.exe" ] || fail "velmira.exe is still installed"
[ ! -e "$program_dir/Qt5Core.dll" ] || fail "Qt5Core.dll is still installed"
[ ! -e "$shortcut" ] || fail "the shortcut is still there"
[ ! -e "$keeper_shortcut" ] || fail "the keeper's shortcut is still there"
[ ! -e "$program_dir/velmira-stats-gui.exe" ] || fail "velmira-stats-gui.exe is still installed"
cmp -s "$work/edited.txt" "$data_dir/Statistics_1.txt" || fail "uninstalling removed the clinic's Statistics_1.txt"

echo "windows: $package.exe, $package.zip; screenshots in $shots"

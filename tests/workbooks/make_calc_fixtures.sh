#!/bin/sh
# Makes the files in calc/ with LibreOffice Calc itself, so that the tests
# read what a spreadsheet program really writes, not what we think it does.
# For developers: CI reads the committed files and never runs this script.
#
#     tests/workbooks/make_calc_fixtures.sh
#
# The logs come from calc_log.py (a fixed seed); the workbooks' ZIP entries
# carry the time of the run, their parts and the CSV files do not.
set -eu

here=$(cd "$(dirname "$0")" && pwd)
out="$here/calc"
python=/usr/bin/python3

if ! command -v soffice >/dev/null 2>&1; then
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo=sudo
    $sudo apt-get -o DPkg::Lock::Timeout=900 install -y --no-install-recommends libreoffice-calc-nogui
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# A profile of its own: the user's settings (and a running Calc) stay out.
profile="file://$work/profile"

# convert SOURCE.fods FILTER TARGET: one conversion, the result renamed.
convert() {
    rm -rf "$work/conv"
    HOME="$work" soffice --headless "-env:UserInstallation=$profile" \
        --convert-to "$2" --outdir "$work/conv" "$1" >/dev/null 2>&1
    produced=$(ls "$work/conv")
    mv "$work/conv/$produced" "$out/$3"
}

# CSV filter options: separator, quote, character set (76 UTF-8, 34
# Windows-1251, 65535 UTF-16), first line, -, language, quote all text,
# detect special numbers, save as shown, formulas, trim spaces.
csv() {
    echo "csv:Text - txt - csv (StarCalc):$1,34,$2,1,,0,false,true,$3,false,false"
}

xlsx="xlsx:Calc MS Excel 2007 XML"
ods="ods:calc8"

log() {
    "$python" "$here/calc_log.py" "$@"
}

mkdir -p "$out"
cd "$work"
log log.fods
log --locale en-US log-en.fods
log --diameters 0.00 log-0.00.fods
log --diameters 0.0 log-0.0.fods
log --layout per-year log-per-year.fods
log --layout title log-title.fods

# The clinic's workbook, in a Russian locale.
convert log.fods "$xlsx" log.xlsx
convert log.fods "$ods" log.ods

# The CSV dialects, every cell at full precision ("as shown" off).
convert log-en.fods "$(csv 44 76 false)" log-utf8-comma-point.csv
convert log.fods "$(csv 59 76 false)" log-utf8-semicolon.csv
convert log.fods "$(csv 9 76 false)" log-utf8-tab.csv
convert log.fods "$(csv 59 34 false)" log-cp1251-semicolon.csv
convert log.fods "$(csv 9 65535 false)" log-utf16-tab.csv

# Diameters formatted to two and to one decimal, saved as displayed, as
# Calc's CSV dialog does by default; the workbook keeps the stored values.
convert log-0.00.fods "$(csv 59 76 true)" log-shown-0.00.csv
convert log-0.0.fods "$(csv 59 76 true)" log-shown-0.0.csv
convert log-0.00.fods "$xlsx" log-format-0.00.xlsx

# One sheet per year and a summary sheet; a title row above the header.
convert log-per-year.fods "$xlsx" log-per-year.xlsx
convert log-per-year.fods "$ods" log-per-year.ods
convert log-title.fods "$xlsx" log-title.xlsx
convert log-title.fods "$ods" log-title.ods
convert log-title.fods "$(csv 59 76 false)" log-title.csv

"$python" "$here/check_calc_fixtures.py" "$out"

#!/usr/bin/env bash
# Start-up of the Windows program under Wine against a bare Qt window built the
# same way: both start-ups of bench_startup_child.exe (cross-built beside
# velmira.exe) run from the program's installed folder, with its DLLs, plugins
# and data files, on Qt's windows platform, started interleaved as `wine`
# starts any Windows program and timed from outside until they exit. Prints
# the medians of the wall times and their ratio; the ratio is the figure to
# read (the absolute times include Wine's own start of a process).
# Usage: bench/wine-startup.sh BUILD_FOLDER [runs]   (default: 20 of each)
# Runs on the X display in DISPLAY, or on an Xvfb of its own.
set -euo pipefail
build=$(cd "${1:?usage: $0 BUILD_FOLDER [runs]}" && pwd)
runs=${2:-20}
# The packaged build (scripts/windows-test.sh) leaves the benchmarks out: turn
# them on in that build folder and build the one needed here.
if [ ! -f "$build/bench/bench_startup_child.exe" ]; then
    cmake -DVELMIRA_BENCHMARKS=ON "$build" >/dev/null
    cmake --build "$build" -j2 --target bench_startup_child
fi
. "$(cd "$(dirname "$0")/.." && pwd)/scripts/lib.sh"
work=$(mktemp -d)
cleanup() {
    wine_stop
    stop_xvfb
    rm -rf "$work"
}
trap cleanup EXIT
[ -n "${DISPLAY:-}" ] || start_xvfb 1280x1024

# The program's folder as the ZIP and the installer lay it out.
program="$work/program"
cmake --install "$build" --prefix "$program" >/dev/null
cp "$build/bench/bench_startup_child.exe" "$program/"

# A prefix of its own, as on a Windows desktop: no QT_* settings, Windows'
# dialog font, 100 %; its server stays up between the runs.
wine_environment "$work/wine"
timeout 300 wineboot -i >/dev/null 2>&1
timeout 120 wineserver -w
cp /usr/share/wine/fonts/tahoma.ttf /usr/share/wine/fonts/tahomabd.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
wineserver -p

cd "$program"
run() {  # kind: prints the wall time in milliseconds
    local start=$EPOCHREALTIME
    timeout 120 wine bench_startup_child.exe "$1" >/dev/null 2>&1 || {
        echo "the $1 start-up failed" >&2
        exit 1
    }
    local end=$EPOCHREALTIME
    echo "$(( (${end/[.,]/} - ${start/[.,]/}) / 1000 ))"
}
# One untimed run of each fills the caches.
run bare >/dev/null
run velmira >/dev/null
: >"$work/bare" && : >"$work/velmira"
for i in $(seq "$runs"); do
    # Alternate which goes first, so that neither always follows the other.
    if [ $((i % 2)) -eq 1 ]; then order=(bare velmira); else order=(velmira bare); fi
    for kind in "${order[@]}"; do run "$kind" >>"$work/$kind"; done
done

median() { sort -n "$1" | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
range() { sort -n "$1" | sed -n '1p;$p' | paste -sd' ' | sed 's/ /../'; }
bare=$(median "$work/bare")
velmira=$(median "$work/velmira")
echo "Start-up under Wine, $runs runs of each, interleaved, medians (min..max)"
printf '%-9s %8s ms  (%s)\n' bare "$bare" "$(range "$work/bare")" velmira "$velmira" "$(range "$work/velmira")"
awk -v v="$velmira" -v b="$bare" 'BEGIN { printf "velmira/bare wall time: %.2fx\n", v / b }'

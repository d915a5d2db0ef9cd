#!/usr/bin/env bash
# Takes the README's screenshots of the window at several display scales: each
# under its own Xvfb screen with a window manager, the scale set the way desktop
# scaling sets it (Xft.dpi). Writes docs/scale-*.png and docs/fit-*.png.
# Usage: scripts/screenshots.sh [build folder]   (default: build, built here)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath -m "${1:-$root/build}")

"$root/scripts/setup.sh" docs
if [ $# -eq 0 ]; then
    cmake -S "$root" -B "$build" >/dev/null
    cmake --build "$build" --target velmira -j"$(nproc)"
fi

# shot OUTPUT SCREEN DPI WHAT: WHAT is "window" (the window with its frame) or "screen".
shot() {
    local output=$1 screen=$2 dpi=$3 what=$4 work
    work=$(mktemp -d)
    # -noreset: the resources set below must outlive xrdb's own connection.
    Xvfb -displayfd 3 -noreset -screen 0 "${screen}x24" -nolisten tcp 3>"$work/display" 2>/dev/null &
    local xvfb=$!
    for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
    export DISPLAY=":$(cat "$work/display")"
    echo "Xft.dpi: $dpi" | xrdb -nocpp -merge
    openbox >/dev/null 2>&1 &
    local wm=$!
    sleep 0.5
    (cd "$root/data" && exec "$build/velmira") >/dev/null 2>&1 &
    local app=$! id=
    for _ in $(seq 100); do
        id=$(xdotool search --onlyvisible --name '^Velmira$' 2>/dev/null | head -1) && [ -n "$id" ] && break
        sleep 0.1
    done
    sleep 1.5  # let it paint
    if [ "$what" = window ]; then
        xwd -silent -frame -id "$id" | xwdtopnm 2>/dev/null | pnmtopng >"$output"
    else
        xwd -silent -root | xwdtopnm 2>/dev/null | pnmtopng >"$output"
    fi
    kill "$app" "$wm" "$xvfb" 2>/dev/null || true
    wait "$app" "$wm" "$xvfb" 2>/dev/null || true
    rm -rf "$work"
    echo "$output"
}

for percent in 100 125 150 200; do
    shot "$root/docs/scale-$percent.png" 3840x2160 $((96 * percent / 100)) window
done
# Screens too small for the window at the system's scale.
shot "$root/docs/fit-1920x1080-150.png" 1920x1080 144 screen
shot "$root/docs/fit-1366x768-100.png" 1366x768 96 screen

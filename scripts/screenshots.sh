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

. "$root/scripts/lib.sh"

# shot OUTPUT SCREEN DPI WHAT: WHAT is "window" (the window with its frame) or "screen".
shot() {
    local output=$1 screen=$2 dpi=$3 what=$4
    # -noreset: the resources set below must outlive xrdb's own connection.
    start_xvfb "$screen" -noreset
    echo "Xft.dpi: $dpi" | xrdb -nocpp -merge
    openbox >/dev/null 2>&1 &
    local wm=$!
    sleep 0.5
    (cd "$root/data" && exec "$build/velmira") >/dev/null 2>&1 &
    local app=$! id
    id=$(wait_for_window Velmira "$app")
    sleep 1.5  # let it paint
    if [ "$what" = window ]; then
        screenshot "$id" "$output" -frame
    else
        screenshot root "$output"
    fi
    kill "$app" "$wm" 2>/dev/null || true
    wait "$app" "$wm" 2>/dev/null || true
    stop_xvfb
    echo "$output"
}

for percent in 100 125 150 200; do
    shot "$root/docs/scale-$percent.png" 3840x2160 $((96 * percent / 100)) window
done
# Screens too small for the window at the system's scale.
shot "$root/docs/fit-1920x1080-150.png" 1920x1080 144 screen
shot "$root/docs/fit-1366x768-100.png" 1366x768 96 screen

#!/usr/bin/env bash
# Builds the calculator and starts it with its data folder as working directory.
# Without a display it starts the program under Xvfb, saves a screenshot of the
# window, ends the program and says where the picture is.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build"

"$root/scripts/setup.sh" run
cmake -S "$root" -B "$build" >/dev/null
cmake --build "$build" --target velmira -j"$(nproc)"

cd "$root/data"  # the program reads its data files from the working directory
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] || [ "${QT_QPA_PLATFORM:-}" = offscreen ]; then
    exec "$build/velmira" "$@"
fi

. "$root/scripts/lib.sh"
shot="$build/velmira-screenshot.png"
cleanup() {
    [ -n "${app:-}" ] && kill "$app" 2>/dev/null || true
    stop_xvfb
}
trap cleanup EXIT

start_xvfb 800x900
"$build/velmira" "$@" &
app=$!
window=$(wait_for_window Velmira "$app")
sleep 1  # let it paint
screenshot "$window" "$shot"
echo "No display: the window was shown under Xvfb and its screenshot saved to $shot"

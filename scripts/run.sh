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

screenshot="$build/velmira-screenshot.png"
work=$(mktemp -d)
cleanup() {
    [ -n "${app:-}" ] && kill "$app" 2>/dev/null || true
    [ -n "${xvfb:-}" ] && kill "$xvfb" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

Xvfb -displayfd 3 -screen 0 800x900x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb=$!
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || { echo "Xvfb did not start:" >&2; cat "$work/xvfb.log" >&2; exit 1; }
export DISPLAY=":$(cat "$work/display")"

"$build/velmira" "$@" &
app=$!
for _ in $(seq 100); do
    xwininfo -name Velmira >/dev/null 2>&1 && break
    kill -0 "$app" 2>/dev/null || { echo "The program ended before showing its window." >&2; exit 1; }
    sleep 0.1
done
sleep 1  # let it paint
xwd -silent -name Velmira | xwdtopnm 2>/dev/null | pnmtopng >"$screenshot"
echo "No display: the window was shown under Xvfb and its screenshot saved to $screenshot"

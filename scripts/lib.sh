# Shell functions the project's scripts share: progress and failure, Debian
# packages, an Xvfb display, screenshots and the Wine environment.
# Usage: . "$root/scripts/lib.sh"   (from a bash script with set -euo pipefail)

step() { echo "--- $(date -u +%H:%M:%S) $*"; }
fail() { echo "FAIL: $*" >&2; exit 1; }

# Runs a command as root: directly when we are root, else through sudo.
as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

# Installs those of the named Debian packages that are missing.
install_missing() {
    local missing=() package
    for package in "$@"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' \
            || missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    as_root apt-get update -qq
    # Waits for another apt run (an automatic upgrade, say) instead of failing at once.
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq -o DPkg::Lock::Timeout=600 \
        --no-install-recommends "${missing[@]}"
}

# Starts an Xvfb screen (WIDTHxHEIGHT, then any further Xvfb options), exports
# its DISPLAY and sets xvfb_pid; stop_xvfb ends it.
start_xvfb() {
    local screen=$1; shift
    local ready
    ready=$(mktemp)
    Xvfb -displayfd 3 -screen 0 "${screen}x24" -nolisten tcp "$@" 3>"$ready" 2>/dev/null &
    xvfb_pid=$!
    for _ in $(seq 100); do [ -s "$ready" ] && break; sleep 0.1; done
    [ -s "$ready" ] || fail "Xvfb did not start"
    export DISPLAY=":$(cat "$ready")"
    rm -f "$ready"
}
stop_xvfb() {
    [ -n "${xvfb_pid:-}" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
    xvfb_pid=
    return 0
}

# Waits until a visible window of the given name shows, while the process
# with the given pid runs, and prints the window's id.
wait_for_window() {
    local name=$1 pid=$2 id=
    for _ in $(seq 300); do
        id=$(xdotool search --onlyvisible --name "^$name\$" 2>/dev/null | head -n1) || true
        [ -n "$id" ] && { echo "$id"; return 0; }
        kill -0 "$pid" 2>/dev/null || fail "the program ended before showing its window"
        sleep 0.1
    done
    fail "the program showed no window"
}

# Saves a PNG of a window (with -frame: with its frame), or with "root" of the screen.
screenshot() {  # window id | root, output, [xwd options]
    local id=$1 output=$2; shift 2
    if [ "$id" = root ]; then
        xwd -silent -root "$@" | xwdtopnm 2>/dev/null | pnmtopng >"$output"
    else
        xwd -silent -id "$id" "$@" | xwdtopnm 2>/dev/null | pnmtopng >"$output"
    fi
}

# The Wine environment for a prefix of the project's own, never the user's
# ~/.wine: 64-bit, quiet, no Mono or Gecko installers (nothing here needs
# them, and they would ask) and no Linux menu entries for Windows shortcuts.
wine_environment() {  # prefix
    export WINEPREFIX=$1
    export WINEARCH=win64
    export WINEDEBUG=${WINEDEBUG:--all}
    export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=;winemenubuilder.exe=d}
}
# Ends the prefix's Wine server, which also keeps settings such as the code
# page, and waits until it has written them and gone.
wine_stop() {
    timeout 20 wineserver -k 2>/dev/null || true
    timeout 20 wineserver -w 2>/dev/null || true
}

#!/usr/bin/env bash
# Builds the Debian packages of the Qt 5 and the Qt 6 build and checks them as
# a Debian maintainer would: lintian, hardening-check, desktop-file-validate,
# appstreamcli, man --warnings, --help and --version without a display, and
# that two build folders give the same bytes. Then it installs the packages on
# this machine (root, or sudo) and checks a start from a home folder, that an
# edit of /etc/velmira survives a reinstall and the switch to the Qt 6 package,
# and that a purge leaves nothing behind.
# Usage: scripts/test-package.sh [work folder]   (default: build-package)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
work=${1:-$root/build-package}
. "$root/scripts/lib.sh"

package() {  # build folder, then cmake options; prints the .deb's path
    local dir=$1; shift
    rm -rf "$dir"
    cmake -S "$root" -B "$dir" -DBUILD_TESTING=OFF "$@" >/dev/null
    (cd "$dir" && cpack -G DEB >/dev/null)
    ls "$dir"/*.deb
}

step "building the packages"
qt5=$(package "$work/qt5" -DVELMIRA_QT_MAJOR=5)
qt5_again=$(package "$work/qt5-again" -DVELMIRA_QT_MAJOR=5)
qt6=$(package "$work/qt6" -DVELMIRA_QT_MAJOR=6)

step "reproducible: two build folders, one commit"
cmp "$qt5" "$qt5_again" || fail "$(basename "$qt5") differs between two build folders"
sha256sum "$qt5" "$qt5_again" | sed "s|$work/||"

check_package() {  # .deb, expected package name, Qt major
    local deb=$1 name=$2 qt=$3 tree=$work/tree-$2
    step "$(basename "$deb")"
    [ "$(dpkg-deb --field "$deb" Package)" = "$name" ] || fail "$deb is not package $name"
    dpkg-deb --field "$deb" Depends | grep -q "libqt${qt}widgets" || fail "$deb needs no Qt $qt"
    local version
    version=$(dpkg-deb --field "$deb" Version)

    # Every tag fails, down to pedantic ones; overrides in the package hold the reasons.
    lintian --info --display-info --pedantic --fail-on error,warning,info,pedantic "$deb" \
        2> >(grep -v 'running with root privileges' >&2) || fail "lintian on $deb"

    rm -rf "$tree"
    dpkg-deb -x "$deb" "$tree"
    local program=$tree/usr/libexec/velmira/velmira
    # Bookworm's own C start-up files carry no IBT/SHSTK marks, so no program
    # linked on it passes the control-flow line; the code itself is built with
    # -fcf-protection. Every other line must say yes (stack clash: unknown when
    # no function has a frame large enough to probe).
    hardening-check --nocfprotection "$program" || fail "hardening-check on $program"
    file "$program" | grep -q ', stripped' || fail "$program is not stripped"
    echo "program: $(stat -c %s "$program") bytes, package: $(stat -c %s "$deb") bytes"

    desktop-file-validate "$tree/usr/share/applications/velmira.desktop" \
        || fail "desktop-file-validate"
    appstreamcli validate --no-net "$tree"/usr/share/metainfo/*.metainfo.xml \
        || fail "appstreamcli validate"
    local warnings
    warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l \
        "$tree/usr/share/man/man1/velmira.1.gz" 2>&1 >/dev/null)
    [ -z "$warnings" ] || fail "man --warnings: $warnings"

    # No display and no platform: the answers come before Qt needs either.
    local out
    out=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$program" --version) \
        || fail "--version exited $?"
    [[ $out == "velmira $version (Qt $qt."*")" ]] || fail "--version printed '$out'"
    echo "$out"
    out=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$program" --help) \
        || fail "--help exited $?"
    [[ $out == "Usage: velmira "* ]] || fail "--help printed '$out'"
}
check_package "$qt5" velmira 5
check_package "$qt6" velmira-qt6 6
dpkg-deb --field "$qt6" Conflicts Replaces Provides

# --- On this machine: install, start, reinstall, switch, purge.
apt=(as_root env DEBIAN_FRONTEND=noninteractive apt-get -y -q -o DPkg::Lock::Timeout=600)
installed() { dpkg-query -W -f='${db:Status-Abbrev}' "$1" 2>/dev/null | grep -q '^ii'; }
known() { dpkg-query -W "$1" >/dev/null 2>&1; }
for name in velmira velmira-qt6; do
    ! known "$name" || fail "$name is already on this machine; purge it first"
done
leftovers() { find /etc /usr /var/lib/dpkg/info -name '*velmira*' 2>/dev/null | sort; }
before=$(leftovers)
purge() { "${apt[@]}" purge velmira velmira-qt6 >/dev/null 2>&1 || true; }
trap purge EXIT

step "install"
"${apt[@]}" install "$qt5" </dev/null >/dev/null
installed velmira || fail "velmira not installed"
files=$(dpkg -L velmira)
dpkg-query -W -f='${Conffiles}\n' velmira | grep -q '/etc/velmira/Statistics_1.txt' \
    || fail "/etc/velmira/Statistics_1.txt is no conffile"

# The clinic's edit: a later row for 1.52 mm, which wins over the shipped one.
marker="1.52,77"
! grep -qxF "$marker" /etc/velmira/Statistics_1.txt || fail "the shipped table has $marker"
echo "$marker" | as_root tee -a /etc/velmira/Statistics_1.txt >/dev/null

step "a start from a home folder reads the installed files"
home=$(mktemp -d)
trace=$work/start.trace
opened() { grep -Eq "openat\(AT_FDCWD, \"(\\./)*/?$1\", [^)]*\) = [0-9]+$" "$trace"; }
# strace shows what the program reads. It runs until it has loaded its
# picture, the last file the window reads at start-up, and is then ended.
rm -f "$trace"
(cd "$home" && exec env HOME="$home" QT_QPA_PLATFORM=offscreen \
    strace -f -s 4096 -e trace=openat,read,chdir -o "$trace" velmira) 2>"$work/start.stderr" &
tracer=$!
# By its name: strace also starts short-lived children of its own to probe ptrace.
program() { pgrep -P "$tracer" -x velmira || true; }
for _ in $(seq 600); do
    [ -n "$(program)" ] && opened Tavrel.jpg 2>/dev/null && break
    kill -0 "$tracer" 2>/dev/null || break
    sleep 0.1
done
pid=$(program)
kill "${pid:-$tracer}" 2>/dev/null || true
wait "$tracer" || true
rmdir "$home"
grep -Eq 'chdir\("/usr/share/velmira"\) += 0$' "$trace" || fail "the launcher did not enter /usr/share/velmira"
for file in Statistics_1.txt Statistics_2.txt Tavrel.jpg stet.png; do
    opened "$file" || fail "the program did not open $file: $(grep "$file" "$trace" | head -3)"
done
grep -qF "$marker" "$trace" || fail "the program did not read the edited /etc/velmira/Statistics_1.txt"
if grep -q 'null image' "$work/start.stderr"; then fail "$(cat "$work/start.stderr")"; fi
echo "read /etc/velmira/Statistics_1.txt with the clinic's row, Statistics_2.txt, Tavrel.jpg, stet.png"

step "reinstall keeps the edit"
"${apt[@]}" install --reinstall "$qt5" </dev/null >/dev/null
grep -qxF "$marker" /etc/velmira/Statistics_1.txt || fail "the reinstall overwrote the edit"

step "the Qt 6 package replaces the Qt 5 one and keeps the edit"
"${apt[@]}" install "$qt6" </dev/null >/dev/null
installed velmira-qt6 || fail "velmira-qt6 not installed"
! installed velmira || fail "velmira still installed beside velmira-qt6"
dpkg -l velmira velmira-qt6 | tail -n 2
grep -qxF "$marker" /etc/velmira/Statistics_1.txt || fail "the switch to Qt 6 overwrote the edit"
out=$(cd / && env -u DISPLAY velmira --version)
[[ $out == *"(Qt 6."* ]] || fail "velmira --version after the switch: $out"

step "purge leaves nothing behind"
files+=$'\n'$(dpkg -L velmira-qt6)
"${apt[@]}" purge velmira velmira-qt6 </dev/null >/dev/null
trap - EXIT
! known velmira && ! known velmira-qt6 || fail "still known to dpkg after the purge"
# Every file the packages had is gone; folders of their own are found below.
while read -r path; do
    [ -d "$path" ] && [ ! -L "$path" ] && continue
    [ ! -e "$path" ] && [ ! -L "$path" ] || fail "$path left behind"
done <<<"$files"
after=$(leftovers)
[ "$before" = "$after" ] || fail "left behind: $(comm -13 <(echo "$before") <(echo "$after"))"
echo "package checks passed"

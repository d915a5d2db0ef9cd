#!/usr/bin/env bash
# Builds the Debian source package and its binary packages (velmira, built
# with Qt 6, and velmira-dbgsym) with dpkg-buildpackage, from a clean copy of
# this tree, twice in two folders, and checks them as a Debian maintainer
# would: lintian on the .changes, hardening-check, desktop-file-validate,
# appstreamcli, man --warnings, --help and --version without a display (of
# velmira and velmira-stats, which also runs on the example log and installs
# its tables), the polkit action and the keeper's window's files, and that the
# two builds give the same bytes. Then it installs the package on this machine
# (root, or sudo) and checks a start from a home folder, that an edit of
# /etc/velmira survives a reinstall and an upgrade and is kept beside tables
# installed by velmira-stats --install, and that a purge leaves nothing behind.
# Usage: scripts/test-package.sh [work folder]   (default: build-package)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
work=${1:-$root/build-package}
. "$root/scripts/lib.sh"

version=$(dpkg-parsechangelog -l "$root/debian/changelog" -S Version)
upstream=${version%-*}
arch=$(dpkg --print-architecture)

# dpkg-buildpackage builds inside the source tree, so it gets a copy: the files
# git knows or would add (no build folders, nothing ignored) as they are now,
# and beside it the upstream tarball, the same tree without debian/.
export_source() {  # folder; prints the copy's path
    local dir=$1 tree=$1/velmira-$upstream
    rm -rf "$dir"
    mkdir -p "$tree"
    git -C "$root" ls-files -z --cached --others --exclude-standard \
        | while IFS= read -r -d '' file; do
              [ -e "$root/$file" ] || [ -L "$root/$file" ] && printf '%s\0' "$file"
          done \
        | tar -C "$root" -c --null -T - | tar -x -C "$tree"
    tar -C "$dir" --sort=name --mtime=@0 --owner=0 --group=0 --numeric-owner \
        --exclude="velmira-$upstream/debian" -cf - "velmira-$upstream" \
        | xz -T1 >"$dir/velmira_$upstream.orig.tar.xz"
    echo "$tree"
}

# The tests are left out (nocheck): the qt6 stage runs the same suite with the
# same Qt, and the package build stays quick.
package() {  # folder
    local dir=$1 tree
    tree=$(export_source "$dir")
    (cd "$tree" && DEB_BUILD_OPTIONS="nocheck parallel=$(nproc)" dpkg-buildpackage -us -uc) \
        >"$dir/build.log" 2>&1 || { tail -n 40 "$dir/build.log"; fail "dpkg-buildpackage in $dir"; }
}

step "building the source and binary packages"
package "$work/build"
package "$work/again"
deb=$work/build/velmira_${version}_$arch.deb
dbgsym=$work/build/velmira-dbgsym_${version}_$arch.deb
changes=$work/build/velmira_${version}_$arch.changes
ls "$work/build"/*.dsc "$work/build"/*.debian.tar.xz "$deb" "$dbgsym" "$changes" | sed "s|$work/||"

step "reproducible: two build folders, one tree"
for file in "$deb" "$dbgsym"; do
    cmp "$file" "$work/again/$(basename "$file")" || fail "$(basename "$file") differs between two builds"
done
sha256sum "$deb" "$dbgsym" "$work/again"/*.deb | sed "s|$work/||"

step "lintian on $(basename "$changes")"
# Every tag fails, down to pedantic ones; overrides in debian/ hold the reasons.
lintian --info --display-info --pedantic --fail-on error,warning,info,pedantic "$changes" \
    2> >(grep -v 'running with root privileges' >&2) || fail "lintian on $changes"

check_package() {  # .deb, expected package name, Qt major
    local deb=$1 name=$2 qt=$3 tree=$work/tree-$2
    step "$(basename "$deb")"
    [ "$(dpkg-deb --field "$deb" Package)" = "$name" ] || fail "$deb is not package $name"
    dpkg-deb --field "$deb" Depends | grep -q "libqt${qt}widgets" || fail "$deb needs no Qt $qt"

    rm -rf "$tree"
    dpkg-deb -x "$deb" "$tree"
    local program=$tree/usr/libexec/velmira/velmira
    check_program "$program" "$tree/usr/share/man/man1/velmira.1.gz" \
        "velmira $upstream (Qt $qt." "Usage: velmira "
    echo "program: $(stat -c %s "$program") bytes, package: $(stat -c %s "$deb") bytes"
    check_program "$tree/usr/bin/velmira-stats" "$tree/usr/share/man/man1/velmira-stats.1.gz" \
        "velmira-stats $upstream (Qt $qt." "Использование: velmira-stats "
    # debhelper's part: the copyright, the compressed changelog, the conffiles.
    for file in copyright changelog.Debian.gz; do
        [ -s "$tree/usr/share/doc/$name/$file" ] || fail "$deb has no /usr/share/doc/$name/$file"
    done
    [ "$(dpkg-deb --ctrl-tarfile "$deb" | tar -xO ./conffiles)" = \
      $'/etc/velmira/Statistics_1.txt\n/etc/velmira/Statistics_2.txt' ] \
        || fail "$deb's conffiles are not the two statistics files"

    desktop-file-validate "$tree/usr/share/applications/velmira.desktop" \
        || fail "desktop-file-validate"
    appstreamcli validate --no-net "$tree"/usr/share/metainfo/*.metainfo.xml \
        || fail "appstreamcli validate"
    check_stats_run "$tree/usr/bin/velmira-stats"
    check_install_files "$tree"
}

# What installing the keeper's tables needs: the polkit action for pkexec, and
# (once the tree has the keeper's window) its program, entry and manual page.
check_install_files() {  # unpacked package
    local tree=$1 policy=$1/usr/share/polkit-1/actions/org.example.velmira.install-tables.policy
    [ -s "$policy" ] || fail "no polkit action in the package"
    grep -qF '<annotate key="org.freedesktop.policykit.exec.path">/usr/bin/velmira-stats</annotate>' \
        "$policy" || fail "the polkit action does not name /usr/bin/velmira-stats"
    echo "polkit action: $(basename "$policy")"
    [ -d "$root/statsgui" ] || { echo "no statsgui/ in this tree: the keeper's window is not checked"; return; }
    local entry=$tree/usr/share/applications/velmira-stats-gui.desktop warnings
    [ -x "$tree/usr/bin/velmira-stats-gui" ] || fail "no /usr/bin/velmira-stats-gui"
    desktop-file-validate "$entry" || fail "desktop-file-validate on $entry"
    grep -qx 'Exec=/usr/bin/velmira-stats-gui %f' "$entry" || fail "$entry does not open a log"
    grep -q '^MimeType=.*text/csv;' "$entry" || fail "$entry takes no CSV"
    [ -s "$tree/usr/share/metainfo/org.example.velmira.stats.metainfo.xml" ] \
        || fail "no AppStream component for the keeper's window"
    warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l \
        "$tree/usr/share/man/man1/velmira-stats-gui.1.gz" 2>&1 >/dev/null)
    [ -z "$warnings" ] || fail "man --warnings on velmira-stats-gui.1: $warnings"
    hardening-check --nocfprotection "$tree/usr/bin/velmira-stats-gui" \
        || fail "hardening-check on velmira-stats-gui"
    echo "velmira-stats-gui: program, desktop entry, AppStream component, manual page"
}

# Without a display or platform: what runs over SSH, or before Qt needs either.
headless() { env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$@"; }

check_program() {  # program, its manual page, how --version and --help begin
    local program=$1 page=$2 version=$3 help=$4 warnings out
    # Bookworm's own C start-up files carry no IBT/SHSTK marks, so no program
    # linked on it passes the control-flow line; the code itself is built with
    # -fcf-protection. Every other line must say yes (stack clash: unknown when
    # no function has a frame large enough to probe).
    hardening-check --nocfprotection "$program" || fail "hardening-check on $program"
    file "$program" | grep -q ', stripped' || fail "$program is not stripped"
    warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "$page" 2>&1 >/dev/null)
    [ -z "$warnings" ] || fail "man --warnings on $page: $warnings"
    out=$(headless "$program" --version) || fail "$program --version exited $?"
    [[ $out == "$version"*")" ]] || fail "$program --version printed '$out'"
    echo "$out"
    out=$(headless "$program" --help) || fail "$program --help exited $?"
    [[ $out == "$help"* ]] || fail "$program --help printed '$out'"
}

check_stats_run() {  # velmira-stats: the whole run, report included, as over SSH
    local stats=$1 folder name
    folder=$(mktemp -d)
    headless "$stats" --output "$folder" "$root/data/examples/synthetic-case-log-cp1251.csv" \
        >/dev/null || fail "velmira-stats on the example log exited $?"
    for name in Statistics_1.txt Statistics_2.txt Statistics_report.pdf; do
        [ -s "$folder/$name" ] || fail "velmira-stats wrote no $name"
    done
    # --install from that folder into another, then other tables: the second
    # keeps the first, and --restore puts the first back as a third release.
    mkdir "$folder/installed" "$folder/later"
    headless "$stats" --holdout-since 01.01.2026 --output "$folder/later" \
        "$root/data/examples/synthetic-case-log-cp1251.csv" >/dev/null \
        || fail "velmira-stats --holdout-since exited $?"
    for source in "$folder" "$folder/later"; do
        headless "$stats" --install "$folder/installed" "$source" >/dev/null \
            || fail "velmira-stats --install exited $?"
    done
    [ "$(find "$folder/installed" -name 'Statistics_2.*.txt' | wc -l)" = 1 ] \
        || fail "velmira-stats --install kept no previous Statistics_2.txt"
    headless "$stats" --restore "$folder/installed" >/dev/null \
        || fail "velmira-stats --restore exited $?"
    cmp "$folder/Statistics_1.txt" "$folder/installed/Statistics_1.txt" \
        || fail "velmira-stats --restore did not put Statistics_1.txt back"
    grep -q "^Действие: возврат к выпуску 1$" "$folder/installed/Velmira_releases.txt" \
        || fail "velmira-stats --restore recorded no release"
    rm -rf "$folder"
    echo "velmira-stats: the example log into both tables and the report, without a display;"
    echo "  --install of two sets, the previous ones kept, and --restore of the first"
}
check_package "$deb" velmira 6
dpkg-deb --field "$deb" Conflicts Replaces

step "$(basename "$dbgsym")"
# The debug information of both programs, found by their build ids.
listing=$(dpkg-deb -c "$dbgsym")
programs=(usr/libexec/velmira/velmira usr/bin/velmira-stats)
[ ! -d "$root/statsgui" ] || programs+=(usr/bin/velmira-stats-gui)
for program in "${programs[@]}"; do
    id=$(readelf -n "$work/tree-velmira/$program" | sed -n 's/^ *Build ID: //p')
    [ -n "$id" ] || fail "$program has no build id"
    grep -q "/usr/lib/debug/.build-id/${id:0:2}/${id:2}.debug$" <<<"$listing" \
        || fail "$(basename "$dbgsym") has no debug information for $program"
done
echo "the debug information of ${programs[*]##*/}"

# --- On this machine: install, start, reinstall, upgrade, purge.
apt=(as_root env DEBIAN_FRONTEND=noninteractive apt-get -y -q -o DPkg::Lock::Timeout=600)
installed() { dpkg-query -W -f='${db:Status-Abbrev}' "$1" 2>/dev/null | grep -q '^ii'; }
known() { dpkg-query -W "$1" >/dev/null 2>&1; }
for name in velmira velmira-dbgsym velmira-qt6; do
    ! known "$name" || fail "$name is already on this machine; purge it first"
done
leftovers() { find /etc /usr /var/lib/dpkg/info -name '*velmira*' 2>/dev/null | sort; }
before=$(leftovers)
ours() { for name in velmira velmira-dbgsym; do ! known "$name" || echo "$name"; done; }
purge() { "${apt[@]}" purge $(ours) >/dev/null 2>&1 || true; }
trap purge EXIT

step "install"
"${apt[@]}" install "$deb" "$dbgsym" </dev/null >/dev/null
installed velmira && installed velmira-dbgsym || fail "velmira or velmira-dbgsym not installed"
files=$(dpkg -L velmira velmira-dbgsym)
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
"${apt[@]}" install --reinstall "$deb" </dev/null >/dev/null
grep -qxF "$marker" /etc/velmira/Statistics_1.txt || fail "the reinstall overwrote the edit"

step "an upgrade keeps the edit"
# The next Debian revision of the same files, as a rebuild would give it: what
# dpkg decides about a conffile depends only on its shipped and installed bytes.
next=$(echo "$version" | awk -F- -v OFS=- '{ $NF = $NF + 1; print }')
rm -rf "$work/upgrade"
mkdir -p "$work/upgrade"
dpkg-deb -R "$deb" "$work/upgrade/tree"
sed -i "s/^Version: .*/Version: $next/" "$work/upgrade/tree/DEBIAN/control"
dpkg-deb --root-owner-group -b "$work/upgrade/tree" "$work/upgrade/velmira_${next}_$arch.deb" >/dev/null
"${apt[@]}" install "$work/upgrade/velmira_${next}_$arch.deb" </dev/null >/dev/null
[ "$(dpkg-query -W -f='${Version}' velmira)" = "$next" ] || fail "velmira was not upgraded to $next"
grep -qxF "$marker" /etc/velmira/Statistics_1.txt || fail "the upgrade overwrote the edit"
out=$(cd / && env -u DISPLAY velmira --version)
[[ $out == "velmira $upstream (Qt 6."* ]] || fail "velmira --version after the upgrade: $out"
echo "$version -> $next: $out"

step "velmira-stats --install into /etc/velmira keeps the clinic's edit beside"
made=$(mktemp -d)
velmira-stats --output "$made" "$root/data/examples/synthetic-case-log-cp1251.csv" >/dev/null
as_root velmira-stats --install /etc/velmira "$made" || fail "velmira-stats --install /etc/velmira exited $?"
cmp "$made/Statistics_1.txt" /etc/velmira/Statistics_1.txt || fail "/etc/velmira/Statistics_1.txt is not the new table"
kept=$(find /etc/velmira -name 'Statistics_1.*.txt')
[ -n "$kept" ] && grep -qxF "$marker" $kept || fail "the edited table was not kept beside the new one"
grep -q "^Выпуск 1$" /etc/velmira/Velmira_releases.txt || fail "the install recorded no release"
# The kept tables and the history are the clinic's, which a purge leaves; this
# machine's test removes them.
as_root find /etc/velmira \( -name 'Statistics_[12].*.txt' -o -name 'Velmira_releases*.txt' \) -delete
rm -rf "$made"

step "purge leaves nothing behind"
# The upgrade has removed velmira-dbgsym, whose version must be velmira's.
"${apt[@]}" purge $(ours) </dev/null >/dev/null
trap - EXIT
! known velmira && ! known velmira-dbgsym || fail "still known to dpkg after the purge"
# Every file the packages had is gone, /etc/velmira with the clinic's edit too;
# folders of their own are found below.
while read -r path; do
    [ -d "$path" ] && [ ! -L "$path" ] && continue
    [ ! -e "$path" ] && [ ! -L "$path" ] || fail "$path left behind"
done <<<"$files"
after=$(leftovers)
[ "$before" = "$after" ] || fail "left behind: $(comm -13 <(echo "$before") <(echo "$after"))"
echo "package checks passed"

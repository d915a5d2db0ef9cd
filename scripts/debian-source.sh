#!/usr/bin/env bash
# Fetches Debian's source package into the current folder, unpacked with
# Debian's patches applied, as Debian builds it: through a private apt
# configuration, so that the machine's own sources stay as they are. The
# Windows build compiles Qt and minizip from these.
# Usage: scripts/debian-source.sh PACKAGE[=VERSION]   (its output in source.log)
set -euo pipefail

here=$(pwd)
mkdir -p apt/lists/partial apt/sources.list.d
printf 'deb-src http://deb.debian.org/debian bookworm main\n' > apt/sources.list
printf 'deb-src http://deb.debian.org/debian-security bookworm-security main\n' >> apt/sources.list
printf 'deb-src http://deb.debian.org/debian bookworm-updates main\n' >> apt/sources.list
apt_opts=(-o "Dir::Etc::SourceList=$here/apt/sources.list" -o APT::Sandbox::User=root
          -o "Dir::Etc::SourceParts=$here/apt/sources.list.d"
          -o "Dir::State::Lists=$here/apt/lists"
          -o "Dir::Cache::pkgcache=" -o "Dir::Cache::srcpkgcache=")
apt-get "${apt_opts[@]}" update -qq
if ! apt-get "${apt_opts[@]}" source "$1" > source.log 2>&1; then
    tail -n 60 source.log >&2
    exit 1
fi

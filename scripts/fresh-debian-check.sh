#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Tries the README on a really fresh Debian 12, as a new user would: a
# minimal system made with debootstrap --variant=minbase, a new user with
# sudo, a git clone of BRANCH of this repository, ./test as that user, then
# ./run under xvfb-run (the window must start and keep running) and
# ./package. Prints how long each step took. Not part of ./test: it needs
# root, the network and a good half hour.
#
# Usage (as root): scripts/fresh-debian-check.sh [BRANCH [CHROOT_DIR]]
#   BRANCH      the branch to clone (default: the one checked out here)
#   CHROOT_DIR  where the system is made (default /var/tmp/velkoran-fresh-debian);
#               made afresh, and removed at the end unless KEEP_CHROOT=1
# The Debian mirror is the first one this machine's apt sources name.
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
branch=${1:-$(git -C "$repo" rev-parse --abbrev-ref HEAD)}
root=${2:-/var/tmp/velkoran-fresh-debian}
user=newuser
[ "$(id -u)" -eq 0 ] || { echo "debootstrap and chroot need root" >&2; exit 1; }
case $root in "$repo" | "$repo"/*) echo "CHROOT_DIR must lie outside the repository" >&2; exit 1 ;; esac

mirror=$(cat /etc/apt/sources.list /etc/apt/sources.list.d/*.list /etc/apt/sources.list.d/*.sources 2>/dev/null |
             sed -n -e 's/^deb \(\[[^]]*\] \)\{0,1\}\([^ ]*\/debian\/\{0,1\}\) .*/\2/p' \
                 -e 's/^URIs: *\([^ ]*\/debian\/\{0,1\}\)$/\1/p' | head -n1 || true)
mirror=${mirror:-http://deb.debian.org/debian}

steps=()
# step NAME COMMAND...: runs COMMAND and notes how long it took.
step() {
    local name=$1 start status=0
    shift
    echo "=== $name ($(date +%T))"
    start=$(date +%s)
    "$@" || status=$?
    steps+=("$(printf '%-40s %4ds  %s' "$name" $(($(date +%s) - start)) "$([ $status -eq 0 ] && echo ok || echo "FAILED ($status)")")")
    return $status
}
report() {
    echo "=== how long each step took"
    printf '%s\n' "${steps[@]}"
}
mounted=()
cleanup() {
    local m
    for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do umount "${mounted[i]}" 2>/dev/null || umount -l "${mounted[i]}"; done
    [ "${KEEP_CHROOT:-0}" = 1 ] || rm -rf --one-file-system "$root"
    report
}
trap cleanup EXIT
trap 'exit 130' INT TERM # unmounts on a stop too

[ ! -e "$root" ] || rm -rf --one-file-system "$root"
step "debootstrap --variant=minbase bookworm" \
    debootstrap --variant=minbase bookworm "$root" "$mirror" >"$root.debootstrap.log" 2>&1 ||
    { tail -n 30 "$root.debootstrap.log" >&2; exit 1; }
for m in proc dev/pts dev/shm; do
    case $m in
        proc) mount -t proc proc "$root/proc" ;;
        dev/pts) mkdir -p "$root/dev/pts" && mount -t devpts -o newinstance,ptmxmode=0666 devpts "$root/dev/pts" ;;
        dev/shm) mkdir -p "$root/dev/shm" && mount -t tmpfs -o mode=1777 tmpfs "$root/dev/shm" ;;
    esac
    mounted+=("$root/$m")
done
cp /etc/resolv.conf "$root/etc/resolv.conf"
in_root() { chroot "$root" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root "$@"; }
as_user() {
    chroot --userspec="$user:$user" "$root" /usr/bin/env -i HOME="/home/$user" USER="$user" \
        LOGNAME="$user" SHELL=/bin/bash PATH=/usr/local/bin:/usr/bin:/bin bash -lc "cd && $1"
}

# What "a new user with sudo" takes for granted: sudo and git.
step "apt-get install sudo git" \
    in_root sh -c 'apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq sudo git >/dev/null'
in_root useradd --create-home --shell /bin/bash "$user"
echo "$user ALL=(ALL) NOPASSWD:ALL" >"$root/etc/sudoers.d/$user"
chmod 440 "$root/etc/sudoers.d/$user"

# The clone comes from a bare copy of this repository inside the system.
git clone -q --bare --no-local --branch "$branch" --single-branch "$repo" "$root/srv/velkoran.git"
in_root chown -R "$user:$user" /srv/velkoran.git
step "git clone" as_user "git clone -q --branch '$branch' /srv/velkoran.git velkoran"
status=0
step "./test (installs, builds, tests)" as_user "cd velkoran && ./test" || status=1
# The window runs until timeout stops it (status 124): it opened and kept
# running for the whole time, and said so at start.
run_window() {
    local rc=0
    as_user "cd velkoran && QT_LOGGING_RULES=velkoran.startup.info=true xvfb-run -a timeout 30 ./run" \
        >"$root/tmp/run.log" 2>&1 || rc=$?
    cat "$root/tmp/run.log"
    [ $rc -eq 124 ] && grep -q '^velkoran.startup: encoder:' "$root/tmp/run.log"
}
step "xvfb-run ./run (30 s)" run_window || status=1
step "./package" as_user "cd velkoran && ./package" || status=1
exit $status

#!/usr/bin/env bash
# Runs the README's two commands on a bare Debian 12, as root: a minimal system bootstrapped into
# a fresh folder, the committed state of this repository cloned into it and ../shared copied
# beside it, both commands run there with an empty environment. Needs root, debootstrap and the
# Debian mirror; takes about a quarter of an hour. Logs go to the folder it prints, which stays
# for inspection (the system in it takes a few GB).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
[ "$(id -u)" -eq 0 ] || { echo "run as root" >&2; exit 2; }
command -v debootstrap >/dev/null || apt-get install -y -qq debootstrap >/dev/null

work=$(mktemp -d /tmp/bare-debian-XXXXXX)
system="$work/system"
unmount() {
    for point in dev sys proc; do
        umount -lR "$system/$point" 2>/dev/null || true
    done
}
trap unmount EXIT
echo "logs in $work"

debootstrap --variant=minbase bookworm "$system" http://deb.debian.org/debian >"$work/bootstrap.log"
cp /etc/resolv.conf "$system/etc/resolv.conf"
mkdir -p "$system/work"
git clone -q "$root" "$system/work/main"
[ -d "$root/../shared" ] && cp -r "$root/../shared" "$system/work/shared"
mount -t proc proc "$system/proc"
mount --rbind /sys "$system/sys"
mount --rbind /dev "$system/dev"

status=0
for command in .ci/run scripts/demo.sh; do
    log="$work/$(basename "$command").log"
    if chroot "$system" /usr/bin/env -i HOME=/root PATH=/usr/sbin:/usr/bin:/sbin:/bin \
        bash -c "cd /work/main && $command" >"$log" 2>&1; then
        echo "$command: passed"
    else
        echo "$command: FAILED, see $log"
        status=1
    fi
done
exit $status

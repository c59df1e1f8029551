#!/usr/bin/env bash
# Checks the README's promise before a release: on a fresh Debian 12 with
# nothing but the repository, as root, the test command installs what it
# needs and passes every test.
#
# Usage (as root): tools/check-fresh-debian.sh [folder]
#
# Builds a minimal Debian 12 root with debootstrap in the folder (by default
# /var/tmp/tsweeper-fresh-debian, made anew), clones this repository's
# committed HEAD into it, and runs .ci/run there in a chroot with no display
# and no locale variables at all, as a container starts.
# Takes about half an hour; its last line is the test command's own. The
# mirror is TSWEEPER_DEBIAN_MIRROR (default http://deb.debian.org/debian).
# A machine that reaches the package archives or the npm registry through a
# local certificate authority has its certificates in
# /usr/local/share/ca-certificates: they are copied into the root before its
# ca-certificates package is installed.
set -euo pipefail
repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
target="${1:-/var/tmp/tsweeper-fresh-debian}"
mirror="${TSWEEPER_DEBIAN_MIRROR:-http://deb.debian.org/debian}"
security="${mirror%/debian}/debian-security"

if [ "$(id -u)" -ne 0 ]; then
  echo "$0 builds a Debian root and enters it: run it as root" >&2
  exit 2
fi
if ! command -v debootstrap >/dev/null; then
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq debootstrap >/dev/null
fi

# Ends whatever still runs inside the root, then takes its mounts away.
leave_root() {
  local pid
  for pid in /proc/[0-9]*; do
    [ "$(readlink "$pid/root" 2>/dev/null)" = "$target" ] && kill -9 "${pid#/proc/}" 2>/dev/null
  done
  local point
  for point in dev/shm dev/pts dev sys proc; do
    mountpoint -q "$target/$point" && umount -l "$target/$point"
  done
  return 0
}

leave_root
rm -rf "$target"
echo "== A minimal Debian 12 in $target"
debootstrap --variant=minbase bookworm "$target" "$mirror" >/dev/null
# The suites of a Debian 12 installed as usual: its updates and security updates.
cat >"$target/etc/apt/sources.list" <<EOF
deb $mirror bookworm main
deb $mirror bookworm-updates main
deb $security bookworm-security main
EOF
cp /etc/resolv.conf "$target/etc/resolv.conf"
shopt -s nullglob
local_cas=(/usr/local/share/ca-certificates/*.crt)
shopt -u nullglob
if [ ${#local_cas[@]} -gt 0 ]; then
  mkdir -p "$target/usr/local/share/ca-certificates"
  cp "${local_cas[@]}" "$target/usr/local/share/ca-certificates/"
fi

trap leave_root EXIT
mount -t proc proc "$target/proc"
mount -t sysfs sys "$target/sys"
mount --bind /dev "$target/dev"
mount -t devpts devpts "$target/dev/pts"
mount -t tmpfs shm "$target/dev/shm"

inside() {
  chroot "$target" /usr/bin/env -i HOME=/root TERM=dumb \
    PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin "$@"
}
inside apt-get update -qq
inside env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq ca-certificates >/dev/null

echo "== The repository, cloned into /root/tsweeper"
git clone --quiet --no-hardlinks "$repo" "$target/root/tsweeper"
git -C "$target/root/tsweeper" log --oneline -1

echo "== .ci/run"
inside bash -c 'cd /root/tsweeper && bash .ci/run'

#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian package into a fresh Debian 12 chroot, opens the table under Xvfb there,
# saves a picture of it, removes the package and lists what it left under /usr.
#   scripts/check_package.sh CHROOT DEB OUT_FOLDER
# CHROOT is made once with: debootstrap --variant=minbase bookworm CHROOT http://deb.debian.org/debian
# and given what the check itself needs: chroot CHROOT apt-get install -y xvfb xauth x11-apps xdotool
# OUT_FOLDER gets table.png (the window, 1024 x 768 screen), files-before.txt, files-after.txt
# and left-behind.txt (empty when the removal left nothing).
set -euo pipefail
root=$1 deb=$2 out=$3
mkdir -p "$out"
mounted=()
cleanup() {
    for m in "${mounted[@]}"; do umount "$m" 2>/dev/null || true; done
}
trap cleanup EXIT
for m in proc dev; do
    if ! mountpoint -q "$root/$m"; then
        mount --bind "/$m" "$root/$m"
        mounted=("$root/$m" "${mounted[@]}")
    fi
done
cp "$deb" "$root/tmp/"
name=$(basename "$deb")
in_root() { chroot "$root" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root \
    LANG=C.UTF-8 DEBIAN_FRONTEND=noninteractive "$@"; }

in_root sh -c 'find /usr -xdev | sort' >"$out/files-before.txt"
in_root apt-get install -y -q "/tmp/$name" >"$out/install.log" 2>&1
test -x "$root/usr/games/kelo-chess"

cat >"$root/tmp/shot.sh" <<'SHOT'
set -e
rm -rf /tmp/home && mkdir -p /tmp/home
Xvfb :7 -screen 0 1024x768x24 -nolisten tcp >/tmp/xvfb.log 2>&1 &
xvfb=$!
sleep 1
export DISPLAY=:7
HOME=/tmp/home XDG_RUNTIME_DIR=/tmp/home /usr/games/kelo-chess >/tmp/kelo.log 2>&1 &
pid=$!
window=
for i in $(seq 100); do
    window=$(xdotool search --onlyvisible --name '国际象棋' 2>/dev/null | head -n1 || true)
    [ -n "$window" ] && break
    sleep 0.1
done
sleep 1.5
xwd -id "$window" -out /tmp/table.xwd
ls -A /tmp/home/.local/share 2>/dev/null >/tmp/registered.txt || true
kill $pid $xvfb
cat /tmp/kelo.log
SHOT
in_root sh /tmp/shot.sh | tee "$out/kelo.log"
convert "xwd:$root/tmp/table.xwd" "$out/table.png"
echo "user files the installed program wrote under ~/.local/share: $(cat "$root/tmp/registered.txt")"

in_root apt-get remove -y -q kelo-chess >"$out/remove.log" 2>&1
in_root sh -c 'find /usr -xdev | sort' >"$out/files-after.txt"
# What the package brought with it as dependencies stays; what is left of its own is listed.
comm -13 "$out/files-before.txt" "$out/files-after.txt" |
    grep -i -e kelo -e 'x-kelo' >"$out/left-behind.txt" || true
echo "left behind under /usr: $(wc -l <"$out/left-behind.txt") files"
cat "$out/left-behind.txt"

#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The real window read and played through the accessibility bus, as a screen reader does: run
# under a session bus of its own (dbus-run-session) on a virtual screen, with Qt publishing its
# tree without a screen reader running. The checks are in atspi_test.py.
# Arguments: the program. Ends with 77 (skipped) when Xvfb, xdotool, the accessibility bus or
# Python's pyatspi is missing.
set -u
client=$1
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../../scripts/xvfb_display.sh"

for tool in Xvfb xdotool dbus-run-session; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is missing"; exit 77; }
done
[ -x /usr/libexec/at-spi-bus-launcher ] || { echo "SKIP: at-spi2-core is missing"; exit 77; }
/usr/bin/python3 -c 'import pyatspi' 2>/dev/null || { echo "SKIP: python3-pyatspi is missing"; exit 77; }
if [ -z "${KELO_ATSPI_INNER:-}" ]; then
    KELO_ATSPI_INNER=1 exec dbus-run-session -- bash "$0" "$@"
fi

work=$(mktemp -d)
own_folders "$work"
client_pid="" XVFB_PID=""
cleanup() {
    [ -n "$client_pid" ] && kill "$client_pid" 2>/dev/null
    [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null
    wait 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

start_xvfb 1280x1024 "$work" || exit 1
QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 KELO_AUTO_ANSWER=no HOME=$work \
    "$client" >"$work/client.log" 2>&1 &
client_pid=$!
window=$(window_of "$client_pid") || { echo "FAIL: no window; log:"; cat "$work/client.log"; exit 1; }
xdotool windowactivate --sync "$window" 2>/dev/null || xdotool windowfocus "$window"

/usr/bin/python3 "$here/atspi_test.py" "$client_pid"
status=$?
[ $status -eq 0 ] || { echo "client log:"; cat "$work/client.log"; }
exit $status

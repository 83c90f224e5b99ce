# SPDX-License-Identifier: GPL-3.0-or-later
# Sourced by the scripts that start the reference server (kelo-table-server --port 0).
# listening_port LOG prints the port of the server's "listening 127.0.0.1:PORT" line in LOG,
# waiting up to 10 s for it; it fails without one.
listening_port() {
    local port
    for _ in $(seq 100); do
        port=$(sed -n 's/^listening 127\.0\.0\.1:\([0-9]*\)$/\1/p' "$1" 2>/dev/null)
        [ -n "$port" ] && echo "$port" && return 0
        sleep 0.1
    done
    return 1
}

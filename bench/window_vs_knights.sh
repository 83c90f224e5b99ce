#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Starts the table window (kelo-chess, a local table), the bare Qt window of bench/window/ (one
# frameless 1000 x 720 widget painting a 1000 x 720 PNG and a line of Chinese text: the floor of
# Qt itself) and KDE Knights the same way in one run, each on a fresh virtual screen with empty
# settings folders and one session bus for the run, and measures from outside the process:
#   painted  time from the start until the screen stops changing (no change for 500 ms)
#   mapped   time from the start until the window is visible
#   peak     peak memory (VmHWM) 3 s after the window appears
#   idle     processor time (utime+stime) over IDLE_S seconds (default 10) of idling with no game
#   cpu      processor time spent until the peak is read: the start-up's own work, which a load
#            from elsewhere on the machine does not lengthen as it does the painted time
#   helpers  child processes the program started
# One warm-up start of each, then RUNS rounds (default 5) that alternate the three programs, so
# that a load from elsewhere on the machine falls on all of them alike; the medians are shown.
# Checks the targets: painted within 1.2x the bare window's time and within 0.7x Knights', peak
# memory within 6 MB of the bare window's, no processor time while idle.
# Needs Xvfb, ImageMagick (convert), dbus-daemon and Knights (apt-get install knights; Debian puts
# it in /usr/games). KNIGHTS=none leaves Knights out; KELO_CHESS_OTHER=PATH measures another
# build of the table alongside (as "other"), to compare before and after a change. Exits 1 when
# a target is missed.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/xvfb_display.sh
client=$(realpath "${KELO_CHESS:-build/kelo-chess}")
bare=$(realpath "${KELO_BARE_WINDOW:-build/bench/kelo-bench-bare-window}")
watch=$(realpath "${KELO_SETTLE_WATCH:-build/bench/kelo-bench-settle-watch}")
runs=${RUNS:-5}
idle_s=${IDLE_S:-10}
# Debian installs Knights among the games, outside the usual search path.
knights=${KNIGHTS:-$(command -v knights || echo /usr/games/knights)}
for program in "$client" "$bare" "$watch"; do
    [ -x "$program" ] || { echo "build first: $program is missing" >&2; exit 1; }
done
use_knights=1
[ "$knights" = none ] && use_knights=0
tools=(Xvfb convert dbus-daemon)
[ "$use_knights" = 1 ] && tools+=("$knights")
for tool in "${tools[@]}"; do
    command -v "$tool" >/dev/null || { echo "$tool is needed" >&2; exit 1; }
done

work=$(mktemp -d)
program_pid="" XVFB_PID="" bus_pid=""
# Only what this script started is ended.
cleanup() {
    for pid in $program_pid $XVFB_PID $bus_pid; do
        kill "$pid" 2>/dev/null || true
    done
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

# The bare window's picture: the large skin's background (1000 x 720) as a PNG.
picture="$work/picture.png"
convert "$(dirname "$client")/skin/image/1024/frmback.bmp" "$picture"

dbus-daemon --session --nofork --print-address=3 --print-pid=4 3>"$work/bus" 4>"$work/bus.pid" 2>/dev/null &
bus_pid=$!
for _ in $(seq 50); do [ -s "$work/bus" ] && break; sleep 0.1; done
DBUS_SESSION_BUS_ADDRESS=$(head -n1 "$work/bus")
export DBUS_SESSION_BUS_ADDRESS

ticks=$(getconf CLK_TCK)
now_ms() { echo $((${EPOCHREALTIME/./} / 1000)); }
cpu_ticks() { sed 's/.*) //' "/proc/$1/stat" | awk '{print $12 + $13}'; }

# measure NAME COMMAND... prints "painted_ms peak_kb idle_ms helpers mapped_ms cpu_ms" for one
# start.
measure() {
    local name=$1
    shift
    local home="$work/$name"
    rm -rf "$home"
    mkdir -p "$home/config" "$home/data" "$home/cache"
    mkdir -p -m 700 "$home/run"
    start_xvfb 1280x1024 "$home"
    XDG_CONFIG_HOME="$home/config" XDG_DATA_HOME="$home/data" XDG_CACHE_HOME="$home/cache" \
        XDG_RUNTIME_DIR="$home/run" QT_QPA_PLATFORM=xcb \
        "$watch" 500 30000 "$@" >"$home/watch" 2>"$home/log" &
    local watch_pid=$!
    for _ in $(seq 100); do grep -q '^pid ' "$home/watch" && break; sleep 0.05; done
    program_pid=$(awk '/^pid / {print $2}' "$home/watch")
    # The watcher prints its times once the screen has settled, then waits for the program.
    while kill -0 "$watch_pid" 2>/dev/null && ! grep -q '^painted ' "$home/watch"; do sleep 0.05; done
    grep -q '^painted ' "$home/watch" || echo "$name: $(cat "$home/log")" >&2
    local painted mapped
    read -r _ painted _ mapped < <(grep '^painted ' "$home/watch" || echo "painted 0 mapped 0")
    local window_at=$(($(now_ms) - painted - 500 + mapped))
    local wait_ms=$((window_at + 3000 - $(now_ms)))
    [ "$wait_ms" -gt 0 ] && sleep "$(awk -v m="$wait_ms" 'BEGIN {print m / 1000}')"
    local peak before after helpers
    peak=$(awk '/^VmHWM:/ {print $2}' "/proc/$program_pid/status")
    before=$(cpu_ticks "$program_pid")
    sleep "$idle_s"
    after=$(cpu_ticks "$program_pid")
    helpers=$(ps -o comm= --ppid "$program_pid" | paste -sd, - || true)
    kill "$program_pid" 2>/dev/null || true
    wait "$watch_pid" 2>/dev/null || true
    program_pid=""
    kill "$XVFB_PID" 2>/dev/null || true
    wait "$XVFB_PID" 2>/dev/null || true
    XVFB_PID=""
    echo "$painted $peak $(((after - before) * 1000 / ticks)) ${helpers:--} $mapped" \
        "$((before * 1000 / ticks))"
}

median() { sort -n | awk '{v[NR] = $1} END {print v[int((NR + 1) / 2)]}'; }

names=(kelo bare)
[ "$use_knights" = 1 ] && names+=(knights)
# Another build of the table to compare with (say, before a change), measured alongside.
[ -n "${KELO_CHESS_OTHER:-}" ] && names+=(other)
command_of() {
    case $1 in
    kelo) echo "$client" ;;
    other) realpath "$KELO_CHESS_OTHER" ;;
    bare) echo "$bare $picture" ;;
    knights) echo "$knights" ;;
    esac
}
for name in "${names[@]}"; do
    : >"$work/$name.txt"
    # The warm-up start fills the page cache and the font cache; it is not counted.
    # shellcheck disable=SC2046
    measure "$name" $(command_of "$name") >/dev/null
done
for run in $(seq "$runs"); do
    line="run $run:"
    for name in "${names[@]}"; do
        # shellcheck disable=SC2046
        measure "$name" $(command_of "$name") >>"$work/$name.txt"
        line+=" $name $(tail -n1 "$work/$name.txt")"
    done
    echo "$line (painted ms, peak kB, idle ms, helpers, mapped ms, cpu ms)"
done

# report FILE prints the medians "painted peak idle helpers mapped cpu".
report() {
    local file=$1
    echo "$(awk '{print $1}' "$file" | median) $(awk '{print $2}' "$file" | median)" \
        "$(awk '{print $3}' "$file" | median) $(awk '{print $4}' "$file" | sort -u | paste -sd, -)" \
        "$(awk '{print $5}' "$file" | median) $(awk '{print $6}' "$file" | median)"
}
declare -A paint peak idle helpers mapped cpu
for name in "${names[@]}"; do
    read -r "paint[$name]" "peak[$name]" "idle[$name]" "helpers[$name]" "mapped[$name]" \
        "cpu[$name]" < <(report "$work/$name.txt")
    printf '%-10s painted %5d ms   mapped %5d ms   start cpu %4d ms   peak %6.1f MB   idle cpu %4d ms   helpers %s\n' \
        "$name" "${paint[$name]}" "${mapped[$name]}" "${cpu[$name]}" \
        "$(echo "${peak[$name]} / 1024" | bc -l)" "${idle[$name]}" "${helpers[$name]}"
done
echo "load average at the end: $(cut -d' ' -f1-3 /proc/loadavg)"

missed=0
# check OK TEXT prints TEXT with met or MISSED; OK is 1 when the target is met.
check() {
    if [ "$1" = 1 ]; then echo "$2: met"; else
        echo "$2: MISSED"
        missed=1
    fi
}
ratio=$(echo "${paint[kelo]} / ${paint[bare]}" | bc -l)
check "$(echo "$ratio <= 1.2" | bc -l)" \
    "$(printf 'painted ratio to the bare window %.2f (target <= 1.20)' "$ratio")"
over=$(echo "(${peak[kelo]} - ${peak[bare]}) / 1024" | bc -l)
check "$(echo "$over <= 6" | bc -l)" \
    "$(printf 'peak over the bare window %.1f MB (target <= 6 MB)' "$over")"
if [ "$use_knights" = 1 ]; then
    ratio=$(echo "${paint[kelo]} / ${paint[knights]}" | bc -l)
    check "$(echo "$ratio <= 0.7" | bc -l)" \
        "$(printf 'painted ratio to Knights %.2f (target <= 0.70)' "$ratio")"
fi
check "$([ "${idle[kelo]}" = 0 ] && echo 1)" \
    "$(printf 'idle cpu %d ms over %d s (target 0)' "${idle[kelo]}" "$idle_s")"
exit "$missed"

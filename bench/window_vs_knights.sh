#!/usr/bin/env bash
# Starts the table window (kelo-chess, a local table) and KDE Knights the same way in one run,
# each on a fresh virtual screen with empty settings folders and one session bus for the run,
# and measures from outside the process:
#   painted  time from the start until the screen stops changing (no change for 500 ms)
#   peak     peak memory (VmHWM) 3 s after the window appears
#   idle     processor time (utime+stime) over 10 s of idling with no game
#   helpers  child processes the program started
# Prints the median of RUNS runs (default 3) and checks the targets: painted in at most 0.7 of
# Knights' time, peak under 45 MB, no processor time while idle.
# Needs Xvfb, xdotool, ImageMagick, dbus-daemon and knights (apt-get install knights).
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/xvfb_display.sh
client=$(realpath "${KELO_CHESS:-build/kelo-chess}")
runs=${RUNS:-3}
# Debian installs Knights among the games, outside the usual search path.
knights=${KNIGHTS:-$(command -v knights || echo /usr/games/knights)}
[ -x "$client" ] || { echo "build first: $client is missing" >&2; exit 1; }
for tool in Xvfb xdotool import dbus-daemon "$knights"; do
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

dbus-daemon --session --nofork --print-address=3 --print-pid=4 3>"$work/bus" 4>"$work/bus.pid" 2>/dev/null &
bus_pid=$!
for _ in $(seq 50); do [ -s "$work/bus" ] && break; sleep 0.1; done
DBUS_SESSION_BUS_ADDRESS=$(head -n1 "$work/bus")
export DBUS_SESSION_BUS_ADDRESS

ticks=$(getconf CLK_TCK)
now_ms() { echo $((${EPOCHREALTIME/./} / 1000)); }
screen_hash() { import -window root -depth 8 rgb:- 2>/dev/null | md5sum | cut -c1-32; }
cpu_ticks() { sed 's/.*) //' "/proc/$1/stat" | awk '{print $12 + $13}'; }

# measure NAME COMMAND... prints "painted_ms peak_kb idle_ms helpers" for one start.
measure() {
    local name=$1
    shift
    local home="$work/$name"
    rm -rf "$home"
    mkdir -p "$home/config" "$home/data" "$home/cache"
    mkdir -p -m 700 "$home/run"
    start_xvfb 1280x1024 "$home"
    local blank last_hash hash start changed_at window_at="" now
    blank=$(screen_hash)
    last_hash=$blank
    start=$(now_ms)
    XDG_CONFIG_HOME="$home/config" XDG_DATA_HOME="$home/data" XDG_CACHE_HOME="$home/cache" \
        XDG_RUNTIME_DIR="$home/run" QT_QPA_PLATFORM=xcb "$@" >"$home/log" 2>&1 &
    program_pid=$!
    changed_at=$start
    # Screenshots as fast as they come until one picture has stood for 500 ms.
    while :; do
        now=$(now_ms)
        hash=$(screen_hash)
        if [ "$hash" != "$last_hash" ]; then
            last_hash=$hash
            changed_at=$now
        elif [ "$hash" != "$blank" ] && [ $((now - changed_at)) -ge 500 ]; then
            break
        fi
        if [ -z "$window_at" ] && [ -n "$(xdotool search --onlyvisible --pid "$program_pid" 2>/dev/null)" ]; then
            window_at=$(now_ms)
        fi
        [ $((now - start)) -lt 30000 ] || { echo "$name: the screen never settled" >&2; break; }
    done
    while [ -z "$window_at" ]; do
        [ -n "$(xdotool search --onlyvisible --pid "$program_pid" 2>/dev/null)" ] && window_at=$(now_ms)
        [ $(($(now_ms) - start)) -lt 30000 ] || { echo "$name: no window" >&2; window_at=$start; }
        sleep 0.05
    done
    local wait_ms=$((window_at + 3000 - $(now_ms)))
    [ "$wait_ms" -gt 0 ] && sleep "$(awk -v m="$wait_ms" 'BEGIN {print m / 1000}')"
    local peak before after helpers
    peak=$(awk '/^VmHWM:/ {print $2}' "/proc/$program_pid/status")
    before=$(cpu_ticks "$program_pid")
    sleep 10
    after=$(cpu_ticks "$program_pid")
    helpers=$(ps -o comm= --ppid "$program_pid" | paste -sd, - || true)
    kill "$program_pid" 2>/dev/null || true
    wait "$program_pid" 2>/dev/null || true
    program_pid=""
    kill "$XVFB_PID" 2>/dev/null || true
    wait "$XVFB_PID" 2>/dev/null || true
    XVFB_PID=""
    echo "$((changed_at - start)) $peak $(((after - before) * 1000 / ticks)) ${helpers:--}"
}

median() { sort -n | awk '{v[NR] = $1} END {print v[int((NR + 1) / 2)]}'; }

: >"$work/kelo.txt" && : >"$work/knights.txt"
for run in $(seq "$runs"); do
    measure kelo "$client" >>"$work/kelo.txt"
    measure knights "$knights" >>"$work/knights.txt"
    echo "run $run: kelo-chess $(tail -n1 "$work/kelo.txt"), knights $(tail -n1 "$work/knights.txt")" \
        "(painted ms, peak kB, idle ms, helpers)"
done

report() {
    local file=$1
    echo "$(awk '{print $1}' "$file" | median) $(awk '{print $2}' "$file" | median)" \
        "$(awk '{print $3}' "$file" | median) $(awk '{print $4}' "$file" | sort -u | paste -sd' ' -)"
}
read -r k_paint k_peak k_idle k_helpers < <(report "$work/kelo.txt")
read -r n_paint n_peak n_idle n_helpers < <(report "$work/knights.txt")
printf '%-10s painted %5d ms   peak %6.1f MB   idle cpu %4d ms   helpers %s\n' \
    kelo-chess "$k_paint" "$(echo "$k_peak / 1024" | bc -l)" "$k_idle" "$k_helpers" \
    knights "$n_paint" "$(echo "$n_peak / 1024" | bc -l)" "$n_idle" "$n_helpers"
ratio=$(echo "$k_paint / $n_paint" | bc -l)
verdict() { [ "$1" = 1 ] && echo met || echo MISSED; }
printf 'painted ratio %.2f (target <= 0.70): %s\n' "$ratio" "$(verdict "$(echo "$ratio <= 0.7" | bc -l)")"
printf 'peak %.1f MB (target < 45 MB): %s\n' "$(echo "$k_peak / 1024" | bc -l)" \
    "$(verdict "$(echo "$k_peak < 45 * 1024" | bc -l)")"
printf 'idle cpu %d ms over 10 s (target 0): %s\n' "$k_idle" "$(verdict "$([ "$k_idle" = 0 ] && echo 1)")"

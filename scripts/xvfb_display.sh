# Sourced by the scripts that run windows on a virtual screen of their own.
# start_xvfb WIDTHxHEIGHT FOLDER starts Xvfb on a free display number (the server picks it and
# writes it to FOLDER/display) and sets DISPLAY and XVFB_PID; it fails after 10 s without one.
start_xvfb() {
    local size=$1 folder=$2
    : >"$folder/display"
    Xvfb -displayfd 9 -screen 0 "${size}x24" -nolisten tcp -noreset 9>"$folder/display" \
        >"$folder/xvfb.log" 2>&1 &
    XVFB_PID=$!
    for _ in $(seq 100); do
        if [ -s "$folder/display" ]; then
            DISPLAY=":$(head -n1 "$folder/display")"
            export DISPLAY
            return 0
        fi
        kill -0 "$XVFB_PID" 2>/dev/null || break
        sleep 0.1
    done
    echo "Xvfb did not start: $(cat "$folder/xvfb.log")" >&2
    return 1
}

# skin_value FILE KEY prints a key of a skin's description file with its commas as spaces.
skin_value() {
    grep -a "^$2=" "$1" | head -n1 | cut -d= -f2 | tr -d '\r' | tr ',' ' '
}

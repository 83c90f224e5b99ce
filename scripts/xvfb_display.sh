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

# board_geometry FILE reads the places of a skin's board window, its grid and its button board
# into board_left board_top offset_x offset_y square_w square_h buttons_left buttons_top
# button_w button_h.
board_geometry() {
    read -r board_left board_top _ _ < <(skin_value "$1" chessboardrect)
    read -r offset_x offset_y < <(skin_value "$1" chessoffset)
    read -r square_w square_h < <(skin_value "$1" pieceintervalsize)
    read -r buttons_left buttons_top _ _ < <(skin_value "$1" buttonboardrect)
    read -r button_w button_h < <(skin_value "$1" buttonsize)
}

# centre SQUARE prints the screen point of a square's centre (White at the bottom) in the window
# at X, Y, after board_geometry.
centre() {
    local column=$(($(printf %d "'${1:0:1}") - 97)) row=$((8 - ${1:1:1}))
    echo "$((X + board_left + offset_x + column * square_w))" \
        "$((Y + board_top + offset_y + row * square_h))"
}

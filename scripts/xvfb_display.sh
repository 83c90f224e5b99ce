# SPDX-License-Identifier: GPL-3.0-or-later
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
# into board_left board_top board_right board_bottom offset_x offset_y square_w square_h
# buttons_left buttons_top button_w button_h.
board_geometry() {
    read -r board_left board_top board_right board_bottom < <(skin_value "$1" chessboardrect)
    read -r offset_x offset_y < <(skin_value "$1" chessoffset)
    read -r square_w square_h < <(skin_value "$1" pieceintervalsize)
    read -r buttons_left buttons_top _ _ < <(skin_value "$1" buttonboardrect)
    read -r button_w button_h < <(skin_value "$1" buttonsize)
}

# board_area prints the board window's place on the screen as ImageMagick's WxH+X+Y, in the
# window at X, Y, after board_geometry; board_crop OUT.png saves what it shows now.
board_area() {
    echo "$((board_right - board_left))x$((board_bottom - board_top))+$((X + board_left))+$((Y + board_top))"
}
board_crop() {
    import -window root -crop "$(board_area)" +repage "$1"
}

# pixels_changed A B prints how many pixels of two pictures of one size differ.
pixels_changed() {
    compare -metric AE "$1" "$2" null: 2>&1 | cut -d' ' -f1 | cut -d. -f1
}

# window_box WINDOW prints the window's X Y WIDTH HEIGHT on the screen (nothing once it is gone).
window_box() {
    xdotool getwindowgeometry --shell "$1" 2>/dev/null | sed -n 's/^\(X\|Y\|WIDTH\|HEIGHT\)=//p' |
        tr '\n' ' '
}

# centre SQUARE prints the screen point of a square's centre (White at the bottom) in the window
# at X, Y, after board_geometry.
centre() {
    local column=$(($(printf %d "'${1:0:1}") - 97)) row=$((8 - ${1:1:1}))
    echo "$((X + board_left + offset_x + column * square_w))" \
        "$((Y + board_top + offset_y + row * square_h))"
}

# own_folders FOLDER [FORMAT ARGS...] points the XDG folders into FOLDER, so that a program
# started from the script reads and writes nothing of the user's; FORMAT, when given, is printf'd
# with ARGS as the program's settings file there.
own_folders() {
    export XDG_DATA_HOME="$1/data" XDG_CONFIG_HOME="$1/config" XDG_RUNTIME_DIR="$1/run"
    mkdir -p -m 700 "$XDG_RUNTIME_DIR"
    if [ $# -gt 1 ]; then
        mkdir -p "$XDG_CONFIG_HOME/kelo-chess"
        # shellcheck disable=SC2059
        printf "$2" "${@:3}" >"$XDG_CONFIG_HOME/kelo-chess/ChessGame.ini"
    fi
}

# window_of PID [EXCEPT] prints a shown window of the process PID other than the window EXCEPT
# as soon as there is one; false after 10 s, or at once when the process has ended.
window_of() {
    local found
    for _ in $(seq 100); do
        found=$(xdotool search --onlyvisible --pid "$1" 2>/dev/null | grep -vx "${2:-}" | head -n1)
        [ -n "$found" ] && { echo "$found"; return 0; }
        kill -0 "$1" 2>/dev/null || return 1
        sleep 0.1
    done
    return 1
}

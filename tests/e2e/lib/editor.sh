# Driving the level editor in the virtual X server, for the e2e scripts that
# draw levels by clicks. Source after session.sh.

# e2e_start_editor DIR READY PROGRAM ARGS...: starts the editor in DIR and
# waits for its window and for the line READY on its standard output. Xvfb
# resets when its last client leaves, and a client that comes in the middle
# of that is turned away: the editor gets a few tries to connect.
e2e_start_editor() {
    local dir=$1 ready=$2
    shift 2
    E2E_WINDOW=""
    for _ in 1 2 3; do
        (cd "$dir" && SDL_AUDIODRIVER=dummy TMPDIR="$E2E_WORK" exec stdbuf -oL -eL "$@") \
            >"$E2E_LOG" 2>"$E2E_ERR" &
        E2E_GAME_PID=$!
        e2e_until 20 eval '! kill -0 "$E2E_GAME_PID" 2>/dev/null ||
            xdotool search --name "curdovar-edit" >/dev/null 2>&1'
        E2E_WINDOW=$(xdotool search --name 'curdovar-edit' 2>/dev/null | head -n 1)
        [ -n "$E2E_WINDOW" ] && break
        grep -q "Couldn't open X11 display" "$E2E_ERR" || break
        sleep 0.5
    done
    [ -n "$E2E_WINDOW" ] || e2e_fail "no editor window appeared"
    e2e_until 10 e2e_viewable || e2e_fail "the editor window never became viewable"
    xdotool windowfocus --sync "$E2E_WINDOW" 2>/dev/null || true
    e2e_wait_for "$ready" 10
}

# Palette squares are 36 pixels, six to a row from (732, 8): goal, eraser,
# start, wall first. Cells are 32 pixels from the top left.
palette() { e2e_click $(( 732 + $1 % 6 * 36 + 18 )) $(( 8 + $1 / 6 * 36 + 18 )); }
cell() { echo $(( $1 * 32 + 16 )) $(( $2 * 32 + 16 )); }
paint() { xdotool mousemove --window "$E2E_WINDOW" $(cell "$1" "$2") click 1; sleep 0.1; }
# A drag with shift held fills the rectangle between its two ends.
fill() {
    xdotool keydown Shift_L
    xdotool mousemove --window "$E2E_WINDOW" $(cell "$1" "$2") mousedown 1
    sleep 0.1
    xdotool mousemove --window "$E2E_WINDOW" $(cell "$3" "$4")
    sleep 0.1
    xdotool mouseup 1
    xdotool keyup Shift_L
    sleep 0.2
}

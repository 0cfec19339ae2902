# Shared steps of the end-to-end checks: a private X server, a scratch
# working directory for the real game, keys, clicks, screenshots and pixels.
# Source it, then call e2e_begin PATH-TO-CURDOVAR NAME.

e2e_fail() {
    echo "FAIL ($E2E_NAME): $*"
    if [ -n "${E2E_LOG:-}" ] && [ -f "$E2E_LOG" ]; then
        echo "--- game standard output (last 40 lines)"
        tail -n 40 "$E2E_LOG"
        echo "--- game standard error (last 10 lines)"
        tail -n 10 "$E2E_ERR"
    fi
    echo "0 passed, 1 failed"
    exit 1
}

e2e_cleanup() {
    [ -n "${E2E_GAME_PID:-}" ] && kill -9 "$E2E_GAME_PID" 2>/dev/null
    [ -n "${E2E_XVFB_PID:-}" ] && kill "$E2E_XVFB_PID" 2>/dev/null && wait "$E2E_XVFB_PID" 2>/dev/null
    [ -n "${E2E_WORK:-}" ] && rm -rf "$E2E_WORK"
}

# e2e_begin GAME NAME: checks the binary, makes the scratch directory (data/
# links to the repository's images, fonts and sound; levels and preferences
# are the test's own) and starts Xvfb on a free display, of E2E_SCREEN
# (WIDTHxHEIGHTxDEPTH) when set.
e2e_begin() {
    E2E_GAME=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
    E2E_NAME=$2
    E2E_REPO=$(pwd)
    E2E_SHOTS="$E2E_REPO/build/e2e-shots"
    [ -x "$E2E_GAME" ] || e2e_fail "no game binary at $E2E_GAME"
    [ -d "$E2E_REPO/data" ] || e2e_fail "run from the repository root"
    E2E_WORK=$(mktemp -d /tmp/curdovar-e2e-XXXXXX)
    trap e2e_cleanup EXIT
    mkdir -p "$E2E_WORK/data/preferences" "$E2E_WORK/data/levels" "$E2E_SHOTS"
    for folder in images fonts sound; do
        ln -s "$E2E_REPO/data/$folder" "$E2E_WORK/data/$folder"
    done
    E2E_LOG="$E2E_WORK/game.out"
    E2E_ERR="$E2E_WORK/game.err"

    # Another run may take the same free display at the same moment: ours
    # counts as started only while it lives and answers; else the next one.
    local display=$(( $$ % 400 + 500 )) attempt
    for attempt in 1 2 3 4 5; do
        while [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ]; do
            display=$(( display + 1 ))
        done
        Xvfb ":$display" -screen 0 "${E2E_SCREEN:-1024x768x24}" -nolisten tcp >"$E2E_WORK/xvfb.log" 2>&1 &
        E2E_XVFB_PID=$!
        for _ in $(seq 100); do
            kill -0 "$E2E_XVFB_PID" 2>/dev/null || break
            xdpyinfo -display ":$display" >/dev/null 2>&1 && break
            sleep 0.1
        done
        if kill -0 "$E2E_XVFB_PID" 2>/dev/null && xdpyinfo -display ":$display" >/dev/null 2>&1; then
            break
        fi
        kill "$E2E_XVFB_PID" 2>/dev/null && wait "$E2E_XVFB_PID" 2>/dev/null
        E2E_XVFB_PID=""
        display=$(( display + 1 ))
    done
    [ -n "$E2E_XVFB_PID" ] || e2e_fail "Xvfb did not start (last tried :$display)"
    export DISPLAY=":$display"
}

# e2e_level NAME CONTENT: writes data/levels/NAME in the scratch directory.
e2e_level() {
    printf '%s' "$2" >"$E2E_WORK/data/levels/$1"
}

# e2e_start [FOLDER [ARGUMENT...]]: runs the game (or a launcher, which may
# take arguments) in FOLDER (the scratch directory unless given) and waits for
# its window.
e2e_start() {
    local folder=${1:-$E2E_WORK}
    if [ $# -gt 0 ]; then shift; fi
    # Line-buffered, so the log shows each line as soon as the game prints it.
    (cd "$folder" && exec stdbuf -oL -eL "$E2E_GAME" "$@") >"$E2E_LOG" 2>"$E2E_ERR" &
    E2E_GAME_PID=$!
    E2E_WINDOW=$(timeout -s KILL 20 xdotool search --sync --name 'Curdovar II' | head -n 1)
    [ -n "$E2E_WINDOW" ] || e2e_fail "no game window appeared"
    e2e_until 10 e2e_viewable || e2e_fail "the game window never became viewable"
    xdotool windowfocus --sync "$E2E_WINDOW" 2>/dev/null || true
}

# e2e_until SECONDS COMMAND...: runs COMMAND every tenth of a second until it
# succeeds; fails after SECONDS. Waiting for what a check needs, not for a
# fixed time, keeps the checks fast and steady on a loaded machine.
e2e_until() {
    local tries=$(( $1 * 10 ))
    shift
    for _ in $(seq "$tries"); do
        "$@" && return 0
        sleep 0.1
    done
    return 1
}

e2e_viewable() { xwininfo -id "$E2E_WINDOW" 2>/dev/null | grep -q 'Map State: IsViewable'; }

# e2e_pixel_is X Y COLOUR: whether the window's pixel is "#RRGGBB".
e2e_pixel_is() { [ "$(e2e_pixel "$1" "$2")" = "$3" ]; }
e2e_pixel_is_not() { [ "$(e2e_pixel "$1" "$2")" != "$3" ]; }

# e2e_sum: a checksum of the window's picture, to wait for it to change.
e2e_sum() { xwd -id "$E2E_WINDOW" -silent | md5sum | cut -d' ' -f1; }
e2e_changed_from() { [ "$(e2e_sum)" != "$1" ]; }

# e2e_settled SECONDS: until two pictures a fifth of a second apart are the
# same (the hero has landed and stands still), at most SECONDS.
e2e_settled() {
    local before after
    before=$(e2e_sum)
    for _ in $(seq $(( $1 * 5 ))); do
        sleep 0.2
        after=$(e2e_sum)
        [ "$after" = "$before" ] && return 0
        before=$after
    done
    e2e_fail "the picture never settled within $1 s"
}

# e2e_line_is FILE N TEXT: whether line N of FILE reads TEXT.
e2e_line_is() { [ "$(sed -n "$2p" "$1" 2>/dev/null)" = "$3" ]; }

# e2e_drawn: whether anything but black is on the window yet.
e2e_drawn() {
    [ "$(xwd -id "$E2E_WINDOW" -silent | /usr/bin/convert xwd:- -format '%[fx:maxima>0]' info:)" = 1 ]
}

# e2e_playing: the menu level is loaded and its frames are on the screen.
e2e_playing() {
    e2e_wait_for 'SDL Initialized.' 10
    e2e_wait_for 'Objects loaded.' 10
    e2e_until 10 e2e_drawn || e2e_fail "the game never drew a frame"
}

e2e_caption() { xdotool getwindowname "$E2E_WINDOW"; }

# The whole desktop into $root (full screen is a window of its own): Xvfb's
# root is a grey weave wherever no window covers it.
root_shot() { xwd -root -silent | /usr/bin/convert xwd:- png:"$root" || e2e_fail "no root shot"; }
# root_pixel X Y: "#RRGGBB" of the last root shot's pixel.
root_pixel() {
    /usr/bin/convert "$root" -crop "1x1+$1+$2" txt:- | grep -o '#[0-9A-Fa-f]\{6\}' | head -n 1 \
        | tr 'a-f' 'A-F'
}

e2e_geometry() {
    xwininfo -id "$E2E_WINDOW" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}'
}

# Keys go through the X test extension to the focused game window, as a
# player's would.
e2e_key() { xdotool key --delay 80 "$@"; }
# e2e_hold KEY SECONDS: the time held is the input itself (how far the hero walks).
e2e_hold() { xdotool keydown "$1"; sleep "$2"; xdotool keyup "$1"; }
e2e_click() { xdotool mousemove --window "$E2E_WINDOW" "$1" "$2" click 1; }

# e2e_pixel X Y: "#RRGGBB" of the window's pixel.
e2e_pixel() {
    xwd -id "$E2E_WINDOW" -silent | /usr/bin/convert xwd:- -crop "1x1+$1+$2" txt:- \
        | grep -o '#[0-9A-Fa-f]\{6\}' | head -n 1 | tr 'a-f' 'A-F'
}

e2e_shot() {
    xwd -id "$E2E_WINDOW" -silent | /usr/bin/convert xwd:- png:"$E2E_SHOTS/$1.png" \
        || e2e_fail "screenshot $1 failed"
}

# e2e_wait_for TEXT SECONDS: until the game's standard output holds the line.
e2e_wait_for() {
    local tries=$(( $2 * 10 ))
    for _ in $(seq "$tries"); do
        grep -q -x -F -- "$1" "$E2E_LOG" && return 0
        sleep 0.1
    done
    e2e_fail "the game never printed '$1'"
}

e2e_count() { grep -c -x -F -- "$1" "$E2E_LOG"; }

# e2e_quit: Escape, then the game must end by itself with status 0 and say so.
e2e_quit() {
    e2e_key Escape
    local status=""
    for _ in $(seq 100); do
        if ! kill -0 "$E2E_GAME_PID" 2>/dev/null; then
            wait "$E2E_GAME_PID"
            status=$?
            break
        fi
        sleep 0.1
    done
    [ -n "$status" ] || e2e_fail "the game did not quit within 10 s of Escape"
    E2E_GAME_PID=""
    [ "$status" -eq 0 ] || e2e_fail "exit code $status, expected 0"
    [ "$(tail -n 1 "$E2E_LOG")" = "Exited cleanly" ] || e2e_fail "last line is not 'Exited cleanly'"
}

e2e_pass() {
    echo "e2e $E2E_NAME: $*"
    echo "1 passed, 0 failed"
}

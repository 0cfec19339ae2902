#!/usr/bin/env bash
# Starts the real game in a virtual X server, checks its window, takes a
# screenshot, quits with Escape and checks what it printed and saved.
# Usage: startup.sh PATH-TO-CURDOVAR (run from the repository root).
set -uo pipefail

game=${1:?usage: startup.sh PATH-TO-CURDOVAR}
game=$(cd "$(dirname "$game")" && pwd)/$(basename "$game")
repo=$(pwd)
shots="$repo/build/e2e-shots"
expected_caption='Curdovar II: WTLRQPDMNSBKGHVXZCFJ'

fail() {
    echo "FAIL: $*"
    if [ -n "${log:-}" ] && [ -f "$log" ]; then
        echo "--- game standard output"
        cat "$log"
        echo "--- game standard error"
        cat "${errlog:-/dev/null}"
    fi
    exit 1
}

[ -x "$game" ] || fail "no game binary at $game"
[ -d "$repo/data" ] || fail "run from the repository root (no data/ in $repo)"

work=$(mktemp -d /tmp/curdovar-e2e-XXXXXX)
xvfb_pid=""
game_pid=""
cleanup() {
    [ -n "$game_pid" ] && kill "$game_pid" 2>/dev/null
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

# The game reads everything relative to its working directory.
mkdir -p "$work/data/preferences"
for folder in levels images fonts sound; do
    ln -s "$repo/data/$folder" "$work/data/$folder"
done
# Standard error gets its own file: sound loaders there may leave lines open,
# while the start-up and shutdown lines checked below are on standard output.
log="$work/game.log"
errlog="$work/game.err"

# A display number of our own: start from the PID and move on past taken ones.
display=$(( $$ % 400 + 100 ))
while [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ]; do
    display=$(( display + 1 ))
done
Xvfb ":$display" -screen 0 1024x768x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 50); do
    [ -e "/tmp/.X11-unix/X$display" ] && break
    kill -0 "$xvfb_pid" 2>/dev/null || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
    sleep 0.1
done
[ -e "/tmp/.X11-unix/X$display" ] || fail "Xvfb socket for :$display never appeared"
export DISPLAY=":$display"

(cd "$work" && exec "$game") >"$log" 2>"$errlog" &
game_pid=$!

window=$(timeout 20 xdotool search --sync --name 'Curdovar II' | head -n 1)
[ -n "$window" ] || fail "no game window appeared"

caption=$(xdotool getwindowname "$window")
[ "$caption" = "$expected_caption" ] || fail "caption is '$caption', expected '$expected_caption'"

geometry=$(xwininfo -id "$window" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}')
[ "$geometry" = "640x480" ] || fail "window is $geometry, expected 640x480"

# The picture is taken once a frame is on the window.
for _ in $(seq 100); do
    [ "$(xwd -id "$window" -silent | /usr/bin/convert xwd:- -format '%[fx:maxima>0]' info:)" = 1 ] && break
    sleep 0.1
done
mkdir -p "$shots"
xwd -root -display "$DISPLAY" | /usr/bin/convert xwd:- png:"$shots/startup.png" \
    || fail "screenshot failed"
[ -s "$shots/startup.png" ] || fail "screenshot is empty"

xdotool key --window "$window" Escape 2>/dev/null
status=""
for _ in $(seq 100); do
    if ! kill -0 "$game_pid" 2>/dev/null; then
        wait "$game_pid"
        status=$?
        break
    fi
    sleep 0.1
done
if [ -z "$status" ]; then
    fail "the game did not quit within 10 s of Escape"
fi
game_pid=""
[ "$status" -eq 0 ] || fail "exit code $status, expected 0"

# Start-up lines, in this order (other lines may come between them).
line=0
for wanted in 'Initializing...' 'IMG...' 'TTF...' 'Mixer...' 'Screen...' 'SDL Initialized.'; do
    found=$(grep -n -x -F -- "$wanted" "$log" | head -n 1 | cut -d: -f1)
    [ -n "$found" ] || fail "missing start-up line '$wanted'"
    [ "$found" -gt "$line" ] || fail "start-up line '$wanted' out of order"
    line=$found
done
last=$(tail -n 1 "$log")
[ "$last" = "Exited cleanly" ] || fail "last line is '$last', expected 'Exited cleanly'"

prefs="$work/data/preferences/prefs.cdv"
[ -f "$prefs" ] || fail "preferences were not written"
expected_prefs=$'1\n32\n0\n260 97 100 113 101 115 '
[ "$(cat "$prefs")" = "$expected_prefs" ] || fail "preferences hold '$(cat "$prefs")'"

# Without a sound device the game says so once and plays on without loading
# a sound: no line per effect and track at every level.
rm -f "$prefs"
(cd "$work" && SDL_AUDIODRIVER=nosuchdriver exec stdbuf -oL -eL "$game") >"$log" 2>"$errlog" &
game_pid=$!
window=$(timeout 20 xdotool search --sync --name 'Curdovar II' | head -n 1)
[ -n "$window" ] || fail "no game window appeared without a sound device"
for _ in $(seq 100); do
    grep -q -x 'Objects loaded.' "$log" && break
    sleep 0.1
done
xdotool key --window "$window" Escape 2>/dev/null
for _ in $(seq 100); do
    kill -0 "$game_pid" 2>/dev/null || break
    sleep 0.1
done
wait "$game_pid"
status=$?
game_pid=""
[ "$status" -eq 0 ] || fail "exit code $status without a sound device, expected 0"
[ "$(grep -c -x 'No sound device: playing without sound' "$log")" = 1 ] \
    || fail "no sound device was not said exactly once"
grep -q 'Mix Audio failed to init: ' "$log" || fail "the mixer's failure was not reported"
grep -q -x 'Objects loaded.' "$log" || fail "the menu level was not loaded without sound"
! grep -q 'Error loading' "$errlog" || fail "sounds were loaded without a device: $(head -n 2 "$errlog")"

echo "e2e startup: window, caption, screenshot, Escape, log and preferences all as expected; without a sound device one line and no loads"
echo "1 passed, 0 failed"

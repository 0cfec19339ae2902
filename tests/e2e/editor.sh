#!/usr/bin/env bash
# The level editor in Xvfb, the way a designer uses it: a new level drawn
# by mouse clicks from the palette, named, saved and checked; a play-test
# to the goal by keys; the recorded run saved as a replay that
# curdovar-replay then passes.
set -uo pipefail
. "$(dirname "$0")/lib/session.sh"
. "$(dirname "$0")/lib/editor.sh"
e2e_begin "${1:?usage: editor.sh PATH-TO-CURDOVAR}" editor
editor="$(dirname "$E2E_GAME")/curdovar-edit"
replayer="$(dirname "$E2E_GAME")/curdovar-replay"
[ -x "$editor" ] || e2e_fail "no editor at $editor"
[ -x "$replayer" ] || e2e_fail "no replay tool at $replayer"
mkdir -p "$E2E_WORK/replays"

e2e_start_editor "$E2E_WORK" 'editing data/levels/drawn.lvl' \
    "$editor" --new 12x8 --replays replays data/levels/drawn.lvl

palette 3
fill 0 6 11 7   # the floor, two rows deep
fill 0 0 0 5    # the left wall
fill 11 0 11 5  # the right wall
fill 1 0 10 0   # the ceiling
palette 2
paint 2 5
palette 0
paint 8 5
paint 5 5       # a goal too many: painted, undone, redone, undone
xdotool key ctrl+z
xdotool key ctrl+y
xdotool key ctrl+z
palette 25      # a hint on the way: its words go into the box that opens
paint 4 5
xdotool type --delay 60 'Walk right'
e2e_key Return
palette 26      # a portal: the next click picks its target
paint 10 1
paint 9 2
xdotool key ctrl+Right        # a column more at the right edge, then one less
xdotool key ctrl+shift+Right
# The name box starts with the new level's name, "New Level": nine characters to take back.
e2e_key F2 BackSpace BackSpace BackSpace BackSpace BackSpace BackSpace BackSpace BackSpace \
    BackSpace
xdotool type --delay 60 'Drawn Room'
e2e_key Return
e2e_key ctrl+s
e2e_wait_for 'saved data/levels/drawn.lvl' 10
e2e_shot editor-32
[ "$(tail -n 2 "$E2E_LOG" | head -n 1)" = 'checker: 0 error(s), 0 warning(s)' ] \
    || e2e_fail "the checker says '$(grep '^checker' "$E2E_LOG" | tail -n 1)' at saving"
expected="12 8
1 1 1 1 1 1 1 1
1 0 0 0 0 0 1 1
1 0 0 0 0 4 1 1
1 0 0 0 0 0 1 1
1 0 0 0 0 28 Walk right Burmashave. 1 1
1 0 0 0 0 0 1 1
1 0 0 0 0 0 1 1
1 0 0 0 0 0 1 1
1 0 0 0 0 7 1 1
1 0 0 0 0 0 1 1
1 29 9 2 0 0 0 0 1 1
1 1 1 1 1 1 1 1
Drawn_Room"
[ "$(cat "$E2E_WORK/data/levels/drawn.lvl")" = "$expected" ] \
    || e2e_fail "the saved level reads: $(cat "$E2E_WORK/data/levels/drawn.lvl")"

# The same level at tile size 16, for the eye.
e2e_key t
sleep 0.5
e2e_shot editor-16
e2e_key t

# Play-test: ask for a hint before reaching the sign (its box opens when
# the hero gets there and must close as the replay will close it), run
# right with a jump on the way (which may sail over the flag to the wall),
# then walk back left onto the flag; the run is offered as a replay.
e2e_key F5
e2e_wait_for 'play-test started at tile size 32' 10
sleep 0.3
e2e_shot editor-playing
e2e_key q
sleep 0.2
# The keys a newcomer reaches for: the arrows and Space.
xdotool keydown Right
sleep 0.3
xdotool key space
sleep 2.5
xdotool keyup Right
e2e_hold Left 2.5
e2e_until 5 grep -q '^play-test reached the goal in' "$E2E_LOG" \
    || e2e_fail "the play-test never reached the goal"
e2e_key y
e2e_until 5 grep -q -x -F 'saved replays/drawn-32.replay' "$E2E_LOG" \
    || e2e_fail "the replay was not saved"
grep -q -x 'level data/levels/drawn.lvl' "$E2E_WORK/replays/drawn-32.replay" \
    || e2e_fail "the replay names another level"
grep -q ' D$' "$E2E_WORK/replays/drawn-32.replay" \
    || e2e_fail "the hint box at the sign is not in the replay: $(cat "$E2E_WORK/replays/drawn-32.replay")"

replayed=$(cd "$E2E_WORK" && "$replayer" replays/drawn-32.replay 2>&1)
status=$?
[ "$status" -eq 0 ] || e2e_fail "curdovar-replay failed ($status): $replayed"

xdotool key ctrl+q
e2e_until 10 eval '! kill -0 "$E2E_GAME_PID" 2>/dev/null' || e2e_fail "the editor did not quit"
E2E_GAME_PID=""
e2e_pass "drew, checked and saved a level, play-tested it and replayed the run"

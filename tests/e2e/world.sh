#!/usr/bin/env bash
# The real game in Xvfb: the menu level draws its sky, key 4 leaves the menu
# (level 1 loaded twice), key 4 advances in the game with the caption, a
# missing level is reported, the checkpoint is written, Escape quits.
set -uo pipefail
. "$(dirname "$0")/lib/session.sh"
e2e_begin "${1:?usage: world.sh PATH-TO-CURDOVAR}" world
levels="$E2E_REPO/tests/e2e/levels"
cp "$levels/plain-menu.lvl" "$E2E_WORK/data/levels/menu.lvl"
cp "$levels/world-level01.lvl" "$E2E_WORK/data/levels/level01.lvl"
cp "$levels/world-level02.lvl" "$E2E_WORK/data/levels/level02.lvl"
start_caption='Curdovar II: WTLRQPDMNSBKGHVXZCFJ'

e2e_start
e2e_playing
# The menu level has no background image: its colour shows in the empty sky.
e2e_until 5 e2e_pixel_is 320 100 '#1FFEF7' \
    || e2e_fail "menu sky is $(e2e_pixel 320 100), expected #1FFEF7"
e2e_shot world-menu

e2e_key 4
e2e_wait_for 'Exit Menu' 5
loads=$(grep -c '^Loading data/levels/level01.lvl' "$E2E_LOG")
[ "$loads" -eq 2 ] || e2e_fail "level 1 was loaded $loads times on leaving the menu, expected 2"
[ "$(e2e_caption)" = "$start_caption" ] || e2e_fail "leaving the menu changed the caption"
[ "$(head -n 1 "$E2E_WORK/Check.ckp")" = "1" ] || e2e_fail "no checkpoint for level 1"

e2e_key 4
e2e_wait_for 'Advance to level 2!' 5
e2e_until 5 eval '[ "$(e2e_caption)" = "Curdovar II: Second Wind" ]' \
    || e2e_fail "caption is '$(e2e_caption)' after advancing to level 2"
[ "$(cat "$E2E_WORK/Check.ckp")" = $'2\nSecond Wind' ] \
    || e2e_fail "checkpoint holds '$(cat "$E2E_WORK/Check.ckp")'"
e2e_shot world-level02

e2e_key 4
e2e_wait_for 'data/levels/level03.lvl could not be found.' 5
grep -q -x -F 'Could not load data/levels/level03.lvl.' "$E2E_LOG" \
    || e2e_fail "no 'Could not load' line for level 3"
[ "$(e2e_caption)" = "Curdovar II: Second Wind" ] || e2e_fail "a missing level renamed the window"
[ "$(head -n 1 "$E2E_WORK/Check.ckp")" = "2" ] || e2e_fail "a missing level rewrote the checkpoint"

# Escape in the game phase ends the program, not just the game.
e2e_quit
e2e_pass "menu sky, key 4 through two levels with the caption, missing level, checkpoint, Escape"

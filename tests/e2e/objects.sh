#!/usr/bin/env bash
# The real game in Xvfb: a hint sign shows its veil and text after q and is
# dismissed by a key; a bomb taken as a Terrorist and laid with e goes off once.
set -uo pipefail
. "$(dirname "$0")/lib/session.sh"
e2e_begin "${1:?usage: objects.sh PATH-TO-CURDOVAR}" objects
levels="$E2E_REPO/tests/e2e/levels"
cp "$levels/objects-menu.lvl" "$E2E_WORK/data/levels/menu.lvl"
cp "$levels/objects-level01.lvl" "$E2E_WORK/data/levels/level01.lvl"

e2e_start
e2e_playing
sky='#1FFEF7'
e2e_until 5 e2e_pixel_is 320 100 "$sky" || e2e_fail "menu sky is $(e2e_pixel 320 100) before the hint"
# The hero lands on the sign before it asks.
e2e_settled 5

# The hero stands on the sign; q asks it.
e2e_key q
e2e_wait_for ' Hello from the sign ' 5
e2e_until 5 e2e_pixel_is_not 320 100 "$sky" || e2e_fail "no veil over the screen"
veiled=$(e2e_pixel 320 100)
# White at three quarters over the sky colour.
[ "$veiled" != "$sky" ] || e2e_fail "no veil over the screen"
red=$((16#${veiled:1:2}))
[ "$red" -ge 180 ] || e2e_fail "the veil is not white enough ($veiled)"
e2e_shot objects-hint

e2e_key x
e2e_until 5 e2e_pixel_is 320 100 "$sky" || e2e_fail "the box did not go away after a key"

# Level 1: the hero falls through a Terrorist tile onto a bomb and lays it.
e2e_key 4
e2e_wait_for 'Exit Menu' 5
# The hero falls through the Terrorist tile onto the bomb it picks up.
e2e_settled 5
e2e_key e
e2e_wait_for 'BOOM!' 5
# A second blast would come within the fuse of two seconds.
sleep 2
booms=$(e2e_count 'BOOM!')
[ "$booms" -eq 1 ] || e2e_fail "BOOM! printed $booms times"

e2e_quit
e2e_pass "hint veil and text after q, dismissed by a key; one bomb, one BOOM!"

#!/usr/bin/env bash
# The keys a newcomer reaches for, in the real game in Xvfb with fresh
# preferences: holding the right arrow walks the hero into the options gear;
# the left arrow alone stops at a step, and Space while holding it jumps onto
# the step, to the controls sign on top.
set -uo pipefail
. "$(dirname "$0")/lib/session.sh"
e2e_begin "${1:?usage: newcomer.sh PATH-TO-CURDOVAR}" newcomer
# The gear three tiles right of the start; a step one tile high from two to
# four tiles left of it, the controls sign on its far end.
cp "$E2E_REPO/tests/e2e/levels/newcomer-menu.lvl" "$E2E_WORK/data/levels/menu.lvl"

menu_shown() { e2e_pixel_is 600 400 '#000000'; }

e2e_start
e2e_playing
e2e_settled 5
e2e_hold Right 1.2
e2e_until 5 menu_shown || e2e_fail "the right arrow did not walk the hero to the options gear"
e2e_shot newcomer-options
e2e_key x
e2e_until 5 eval '! menu_shown' || e2e_fail "the menu level did not come back"
e2e_settled 5

# Against the step the left arrow alone gets nowhere.
e2e_hold Left 1.5
sleep 0.5
menu_shown && e2e_fail "the hero reached the controls sign without a jump"
e2e_shot newcomer-step

xdotool keydown Left
sleep 0.2
e2e_key space
sleep 1.5
xdotool keyup Left
e2e_until 5 menu_shown || e2e_fail "Space did not jump the hero onto the step"
e2e_until 5 grep -q -F 'char* is [4]!' "$E2E_ERR" || e2e_fail "the controls menu did not open"
e2e_shot newcomer-controls
e2e_key x
e2e_quit
e2e_pass "the right arrow walks to the gear, Space jumps onto the step to the controls sign"

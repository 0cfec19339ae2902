#!/usr/bin/env bash
# The real game in Xvfb: walking into the options object opens the options
# menu, Resolution switches the tile size to 16 in the preferences while the
# window stays 640x480; walking into the controls object and rebinding Jump
# to w stores 119 first on the fourth line; the next start opens 320x240.
set -uo pipefail
. "$(dirname "$0")/lib/session.sh"
e2e_begin "${1:?usage: menus.sh PATH-TO-CURDOVAR}" menus
cp "$E2E_REPO/tests/e2e/levels/menus-menu.lvl" "$E2E_WORK/data/levels/menu.lvl"
prefs="$E2E_WORK/data/preferences/prefs.cdv"

e2e_start
e2e_playing
# The hero lands on the floor before it walks.
e2e_settled 5

# The options object is three tiles to the right.
e2e_hold d 1.2
e2e_until 5 e2e_pixel_is 600 400 '#000000' || e2e_fail "the options menu did not open"
e2e_shot menus-options
shown=$(e2e_sum)
e2e_click 70 67
e2e_until 5 e2e_changed_from "$shown" || e2e_fail "the Resolution button did not change"
e2e_shot menus-options-16
e2e_key x
e2e_until 5 e2e_line_is "$prefs" 2 16 \
    || e2e_fail "tile size in the preferences is '$(sed -n 2p "$prefs")'"
[ "$(e2e_geometry)" = "640x480" ] || e2e_fail "the window changed size before the next pass"
e2e_until 5 e2e_pixel_is_not 600 400 '#000000' || e2e_fail "the menu level did not come back"
e2e_settled 5

# The controls object is three tiles to the left (16-pixel tiles now).
e2e_hold a 1.2
e2e_until 5 e2e_pixel_is 600 400 '#000000' || e2e_fail "the controls menu did not open"
e2e_until 5 grep -q -F 'char* is [4]!' "$E2E_ERR" || e2e_fail "no trace line for the Jump key"
shown=$(e2e_sum)
e2e_click 70 13
e2e_until 5 e2e_changed_from "$shown" || e2e_fail "no prompt for the new key"
e2e_shot menus-controls-waiting
shown=$(e2e_sum)
e2e_key w
e2e_until 5 e2e_changed_from "$shown" || e2e_fail "the Jump button did not show the new key"
e2e_shot menus-controls
e2e_key x
e2e_until 5 eval '[ "$(sed -n 4p "$prefs" | cut -d" " -f1)" = 119 ]' \
    || e2e_fail "the fourth line is '$(sed -n 4p "$prefs")', expected 119 first"

e2e_quit
[ "$(sed -n 4p "$prefs")" = "119 97 100 113 101 115 " ] || e2e_fail "bindings lost on quitting"

# A new start reads the tile size: the window is 20 by 15 tiles of 16.
e2e_start
[ "$(e2e_geometry)" = "320x240" ] || e2e_fail "window is $(e2e_geometry) at tile size 16"
e2e_shot menus-small
e2e_quit
e2e_pass "options to 16 with the window kept, Jump rebound to w, 320x240 on the next start"

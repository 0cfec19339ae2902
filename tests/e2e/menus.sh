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
e2e_wait_for 'SDL Initialized.' 10
sleep 1

# The options object is three tiles to the right.
e2e_hold d 1.2
sleep 0.5
[ "$(e2e_pixel 600 400)" = "#000000" ] || e2e_fail "the options menu did not open"
e2e_shot menus-options
e2e_click 70 67
sleep 0.3
e2e_shot menus-options-16
e2e_key x
sleep 0.5
[ "$(sed -n 2p "$prefs")" = "16" ] || e2e_fail "tile size in the preferences is '$(sed -n 2p "$prefs")'"
[ "$(e2e_geometry)" = "640x480" ] || e2e_fail "the window changed size before the next pass"

# The controls object is three tiles to the left (16-pixel tiles now).
e2e_hold a 1.2
sleep 0.5
[ "$(e2e_pixel 600 400)" = "#000000" ] || e2e_fail "the controls menu did not open"
grep -q -F 'char* is [4]!' "$E2E_ERR" || e2e_fail "no trace line for the Jump key"
e2e_click 70 13
e2e_shot menus-controls-waiting
e2e_key w
sleep 0.3
e2e_shot menus-controls
e2e_key x
sleep 0.5
line4=$(sed -n 4p "$prefs")
[ "${line4%% *}" = "119" ] || e2e_fail "the fourth line is '$line4', expected 119 first"

e2e_quit
[ "$(sed -n 4p "$prefs")" = "119 97 100 113 101 115 " ] || e2e_fail "bindings lost on quitting"

# A new start reads the tile size: the window is 20 by 15 tiles of 16.
e2e_start
[ "$(e2e_geometry)" = "320x240" ] || e2e_fail "window is $(e2e_geometry) at tile size 16"
e2e_shot menus-small
e2e_quit
e2e_pass "options to 16 with the window kept, Jump rebound to w, 320x240 on the next start"

#!/usr/bin/env bash
# The real game in Xvfb on hostile ground. First with nothing but the menu
# level (no images, sounds, font, preferences or other levels; with no data
# at all the game would go to the tree it was built from): it opens its
# window, says what it could not load, skips into a missing level, and quits
# cleanly without creating anything. Then with broken
# files: preferences holding an impossible tile size and key codes, a level
# 2 of binary garbage, a truncated level 3 and a folder where the checkpoint
# file goes; it runs on a usable window, reports each fault and writes the
# preferences back well-formed.
set -uo pipefail
. "$(dirname "$0")/lib/session.sh"
e2e_begin "${1:?usage: hostile.sh PATH-TO-CURDOVAR}" hostile

# 1. Nothing but the menu level. SDL's dummy sound device stands in for a
# sound card, so the missing sounds are looked for and reported.
export SDL_AUDIODRIVER=dummy
rm -rf "$E2E_WORK/data"
mkdir -p "$E2E_WORK/data/levels"
cp "$E2E_REPO/data/levels/menu.lvl" "$E2E_WORK/data/levels/"
e2e_start
e2e_wait_for 'SDL Initialized.' 10
e2e_wait_for 'No prefs file found' 5
e2e_wait_for 'Objects loaded.' 5
grep -q 'failed to load!' "$E2E_LOG" || e2e_fail "missing images were not reported"
[ "$(e2e_geometry)" = "640x480" ] || e2e_fail "window is $(e2e_geometry) without preferences"
e2e_key 4
e2e_wait_for 'data/levels/level01.lvl could not be found.' 5
# A few frames of the empty level.
sleep 0.5
kill -0 "$E2E_GAME_PID" 2>/dev/null || e2e_fail "the game died in an empty level"
e2e_quit
[ "$(ls "$E2E_WORK/data")" = levels ] || e2e_fail "the game created $(ls "$E2E_WORK/data" | grep -v levels)"
[ ! -e "$E2E_WORK/Check.ckp" ] || e2e_fail "a checkpoint was written without a level"
grep -q 'Error loading' "$E2E_ERR" || e2e_fail "missing sounds were not reported"
unset SDL_AUDIODRIVER

# 2. Broken files.
rm -f "$E2E_LOG" "$E2E_ERR"
mkdir -p "$E2E_WORK/data/preferences" "$E2E_WORK/data/levels"
for folder in images fonts sound; do
    ln -s "$E2E_REPO/data/$folder" "$E2E_WORK/data/$folder"
done
printf '0\n99999\n0\n-3 5000 100 113 101 115 \n' >"$E2E_WORK/data/preferences/prefs.cdv"
cp "$E2E_REPO/tests/e2e/levels/plain-menu.lvl" "$E2E_WORK/data/levels/menu.lvl"
cp "$E2E_REPO/tests/e2e/levels/world-level01.lvl" "$E2E_WORK/data/levels/level01.lvl"
printf '\x7fELF\x02\x01\x01\x00\xff\xfe\x9c 12 \x00\x00\n' >"$E2E_WORK/data/levels/level02.lvl"
printf '20 15\n1 1 1\n0 0' >"$E2E_WORK/data/levels/level03.lvl"
mkdir "$E2E_WORK/Check.ckp"

e2e_start
e2e_wait_for 'SDL Initialized.' 10
e2e_wait_for 'Reading prefs from data/preferences/prefs.cdv' 5
grep -q 'Tile size 99999' "$E2E_ERR" || e2e_fail "the impossible tile size was not reported"
[ "$(e2e_geometry)" = "640x480" ] || e2e_fail "window is $(e2e_geometry) for tile size 99999"
e2e_wait_for 'Objects loaded.' 10
e2e_key 4
e2e_wait_for 'Exit Menu' 5
grep -q -x -F 'Could not save progress' "$E2E_LOG" || e2e_fail "the blocked checkpoint was not reported"
e2e_key 4
e2e_wait_for 'data/levels/level02.lvl could not be found.' 5
grep -q 'Invalid .lvl!' "$E2E_ERR" || e2e_fail "the binary level was not reported"
e2e_key 4
e2e_wait_for 'data/levels/level03.lvl could not be found.' 5
grep -q 'Reached end of input.' "$E2E_ERR" || e2e_fail "the truncated level was not reported"
e2e_quit
[ -d "$E2E_WORK/Check.ckp" ] || e2e_fail "the folder in place of the checkpoint was touched"
prefs=$(cat "$E2E_WORK/data/preferences/prefs.cdv")
[ "$prefs" = $'0\n32\n0\n260 97 100 113 101 115 ' ] \
    || e2e_fail "preferences were written back as '$prefs'"
e2e_pass "no data directory; impossible preferences, binary and truncated levels, blocked checkpoint"

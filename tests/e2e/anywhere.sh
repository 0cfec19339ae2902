#!/usr/bin/env bash
# The game built in the tree, started from /tmp (as a file manager or another
# shell folder would), finds the tree's data: the menu level loads with every
# image, and Escape still ends it cleanly.
set -uo pipefail
. "$(dirname "$0")/lib/session.sh"
e2e_begin "${1:?usage: anywhere.sh PATH-TO-CURDOVAR}" anywhere
# The game writes its preferences into the tree it found; leave none behind
# that were not there before.
prefs="$E2E_REPO/data/preferences/prefs.cdv"
[ -e "$prefs" ] || trap 'rm -f "$prefs"; e2e_cleanup' EXIT

e2e_start /tmp
[ "$(e2e_caption)" = 'Curdovar II: WTLRQPDMNSBKGHVXZCFJ' ] || e2e_fail "caption is '$(e2e_caption)'"
e2e_playing
grep -q '^Could not load' "$E2E_LOG" && e2e_fail "$(grep -m 1 '^Could not load' "$E2E_LOG")"
grep -q 'failed to load!' "$E2E_LOG" && e2e_fail "$(grep -m 1 'failed to load!' "$E2E_LOG")"
e2e_shot anywhere
e2e_quit
e2e_pass "started from /tmp, the menu level of the tree loaded, clean exit"

#!/usr/bin/env bash
# The Debian packages as a player gets them: built from the tree, checked by
# lintian, desktop-file-validate and appstreamcli, unpacked into a scratch
# root, and the launcher started from an unrelated folder with a fresh home.
# The window opens with the start caption, the preferences appear in the
# player's folder, Escape ends it cleanly. The packaged game itself, started
# without the launcher far from any data, says where it looked and fails.
# Then a level maker's path: two levels drawn by clicks in the installed
# editor (the second play-tested, its run saved beside it), the folder
# checked as a pack by the installed checker and played with
# curdovar --levels to the second level's goal, the pack folder unchanged.
set -uo pipefail
. "$(dirname "$0")/lib/session.sh"
. "$(dirname "$0")/lib/editor.sh"
e2e_begin "${1:?usage: installed.sh PATH-TO-CURDOVAR}" installed
out="$E2E_WORK/package"  # its own, so runs side by side do not meet
version=$(sed -n 's/^project(curdovar VERSION \([0-9.]*\).*/\1/p' "$E2E_REPO/CMakeLists.txt")

bash "$E2E_REPO/tools/build-deb.sh" "$out" >"$E2E_WORK/build.log" 2>&1 \
    || { tail -n 30 "$E2E_WORK/build.log"; e2e_fail "the package did not build"; }
deb="$out/curdovar_${version}_amd64.deb"
data_deb="$out/curdovar-data_${version}_all.deb"
[ -f "$deb" ] || e2e_fail "no $deb"
[ -f "$data_deb" ] || e2e_fail "no $data_deb"

lintian "$deb" "$data_deb" >"$E2E_WORK/lintian.log" 2>&1
if grep -q '^E: ' "$E2E_WORK/lintian.log"; then
    cat "$E2E_WORK/lintian.log"
    e2e_fail "lintian reports errors"
fi
# The programs in one package, the data in the other, of the same version.
dpkg-deb -f "$deb" Depends | grep -q -F "curdovar-data (= $version)" \
    || e2e_fail "curdovar depends on: $(dpkg-deb -f "$deb" Depends)"
dpkg -c "$data_deb" | grep -q -e '/usr/games/' -e '/usr/libexec/' && e2e_fail "programs in curdovar-data"
dpkg -c "$deb" | grep -q '/usr/share/games/' && e2e_fail "game data in curdovar"

root="$E2E_WORK/root"
for package in "$deb" "$data_deb"; do
    dpkg -x "$package" "$root" || e2e_fail "dpkg -x $package failed"
done
# The font the package depends on, as its installed dependency would put it.
font_folder=/usr/share/fonts/truetype/ttf-bitstream-vera
[ -f "$font_folder/VeraMono.ttf" ] || e2e_fail "no $font_folder/VeraMono.ttf (ttf-bitstream-vera)"
mkdir -p "$root/usr/share/fonts/truetype"
ln -s "$font_folder" "$root$font_folder"
[ -f "$root/usr/share/games/curdovar/data/fonts/VeraMono.ttf" ] || e2e_fail "the packaged font link is broken"

desktop-file-validate "$root"/usr/share/applications/*.desktop || e2e_fail "desktop-file-validate"
appstreamcli validate --no-net "$root"/usr/share/metainfo/*.metainfo.xml >"$E2E_WORK/appstream.log" 2>&1 \
    || { cat "$E2E_WORK/appstream.log"; e2e_fail "appstreamcli validate"; }
for size in 16 24 32 48 64 128 256; do
    icon="$root/usr/share/icons/hicolor/${size}x${size}/apps/curdovar.png"
    [ "$(identify -format '%wx%h' "$icon" 2>/dev/null)" = "${size}x${size}" ] \
        || e2e_fail "no ${size}x${size} PNG icon"
done

launcher="$root/usr/games/curdovar"
[ "$("$launcher" --version)" = "curdovar $version" ] || e2e_fail "--version says '$("$launcher" --version)'"

elsewhere="$E2E_WORK/elsewhere"
mkdir -p "$elsewhere"
(cd "$elsewhere" && "$root/usr/libexec/curdovar/curdovar") >/dev/null 2>"$E2E_WORK/alone.err"
[ $? -eq 1 ] || e2e_fail "the packaged game without its data did not exit with status 1"
[ "$(wc -l <"$E2E_WORK/alone.err")" -eq 1 ] && grep -q -F "$elsewhere" "$E2E_WORK/alone.err" \
    || e2e_fail "without its data the game said: $(cat "$E2E_WORK/alone.err")"

export HOME="$E2E_WORK/home"
unset XDG_DATA_HOME
mkdir -p "$HOME"
E2E_GAME=$launcher
e2e_start "$elsewhere"
[ "$(e2e_caption)" = 'Curdovar II: WTLRQPDMNSBKGHVXZCFJ' ] || e2e_fail "caption is '$(e2e_caption)'"
e2e_playing
grep -q 'failed to load!' "$E2E_LOG" && e2e_fail "$(grep -m 1 'failed to load!' "$E2E_LOG")"
e2e_shot installed
e2e_quit
prefs="$HOME/.local/share/curdovar/data/preferences/prefs.cdv"
[ "$(sed -n 2p "$prefs" 2>/dev/null)" = 32 ] || e2e_fail "no preferences in the player's folder"
[ -z "$(ls -A "$elsewhere")" ] || e2e_fail "the game wrote into the folder it was started from"

# A level pack made with the installed editor. Xvfb resets when its last
# client leaves, and a client that comes in the middle of that is turned
# away: the editor gets a few tries to connect.
makers="$E2E_WORK/levels"
pack="$makers/castle"
mkdir -p "$pack"
editor_start() {
    e2e_start_editor "$makers" "editing $makers/$1" "$root/usr/games/curdovar-edit" --new 12x8 "$1"
}
# draw_room NAME GOAL-COLUMN: a closed room of 12 by 8, the start in column
# 2 and the goal on the same floor, named (a new level is "New Level": nine
# characters to take back) and saved.
draw_room() {
    palette 3
    fill 0 6 11 7
    fill 0 0 0 5
    fill 11 0 11 5
    fill 1 0 10 0
    palette 2
    paint 2 5
    palette 0
    paint "$2" 5
    e2e_key F2 BackSpace BackSpace BackSpace BackSpace BackSpace BackSpace BackSpace BackSpace \
        BackSpace
    xdotool type --delay 60 "$1"
    e2e_key Return
    e2e_key ctrl+s
}
editor_quit() {
    xdotool key ctrl+q
    e2e_until 10 eval '! kill -0 "$E2E_GAME_PID" 2>/dev/null' || e2e_fail "the editor did not quit"
    E2E_GAME_PID=""
}

editor_start castle/level01.lvl
draw_room 'First Room' 8
e2e_wait_for "saved $pack/level01.lvl" 10
e2e_shot installed-editor
editor_quit

editor_start castle/level02.lvl
draw_room 'Second Room' 4
e2e_wait_for "saved $pack/level02.lvl" 10
[ "$(tail -n 2 "$E2E_LOG" | head -n 1)" = 'checker: 0 error(s), 0 warning(s)' ] \
    || e2e_fail "the editor's checker says '$(grep '^checker' "$E2E_LOG" | tail -n 1)' at saving"
e2e_key F5
e2e_wait_for 'play-test started at tile size 32' 10
xdotool keydown d
e2e_until 5 grep -q '^play-test reached the goal in' "$E2E_LOG"
reached=$?
xdotool keyup d
[ "$reached" -eq 0 ] || e2e_fail "the play-test never reached the goal"
e2e_key y
e2e_wait_for "saved $pack/level02-32.replay" 10
editor_quit

checked=$(cd "$makers" && "$root/usr/games/curdovar-lint" castle 2>&1)
[ $? -eq 0 ] && [ "$checked" = '2 level file(s) clean' ] \
    || e2e_fail "the installed checker says: $checked"

sums() { (cd "$pack" && find . -type f -exec md5sum {} + | sort); }
before=$(sums)
E2E_GAME="$root/usr/games/curdovar"
e2e_start "$elsewhere" --levels "$pack"
e2e_playing
packs="$HOME/.local/share/curdovar/packs"
pack_checkpoint_is() { [ "$(cat "$packs/castle/Check.ckp" 2>/dev/null)" = "$1" ]; }
[ "$(readlink "$packs/castle/data/levels/menu.lvl")" = "$root/usr/share/games/curdovar/data/levels/menu.lvl" ] \
    || e2e_fail "a pack without a menu plays $(readlink "$packs/castle/data/levels/menu.lvl")"
e2e_key 4
e2e_wait_for 'Exit Menu' 5
# Leaving the menu keeps the window's caption; the checkpoint names the level.
e2e_until 5 pack_checkpoint_is $'1\nFirst Room' \
    || e2e_fail "the pack's first level is not 'First Room': $(cat "$packs/castle/Check.ckp" 2>/dev/null)"
e2e_key 4
e2e_wait_for 'Advance to level 2!' 5
e2e_until 5 eval '[ "$(e2e_caption)" = "Curdovar II: Second Room" ]' \
    || e2e_fail "the pack's second level is '$(e2e_caption)'"
xdotool keydown d
e2e_until 5 grep -q -x -F 'Advance to level 3!' "$E2E_LOG"
reached=$?
xdotool keyup d
[ "$reached" -eq 0 ] || e2e_fail "the hero never reached the second level's goal"
e2e_quit
pack_checkpoint_is $'2\nSecond Room' \
    || e2e_fail "the pack's checkpoint holds '$(cat "$packs/castle/Check.ckp" 2>/dev/null)'"
[ -f "$packs/castle/data/preferences/prefs.cdv" ] || e2e_fail "no preferences of the pack's own"
[ ! -e "$HOME/.local/share/curdovar/Check.ckp" ] || e2e_fail "the pack wrote the game's checkpoint"
[ "$(sums)" = "$before" ] || e2e_fail "the pack folder changed: $(diff <(echo "$before") <(sums))"

# A pack with a menu of its own plays it: here the second room (12 cells
# wide, the game's menu 60), whose goal a few steps right starts the pack
# (walking right in the game's menu meets its continue sign instead).
tower="$makers/tower"
mkdir -p "$tower"
cp "$pack/level01.lvl" "$tower/level01.lvl"
cp "$pack/level02.lvl" "$tower/menu.lvl"
e2e_start "$elsewhere" --levels "$tower"
e2e_playing
grep -a -A 1 -x -F 'Loading data/levels/menu.lvl' "$E2E_LOG" | grep -q -x 'Width: 12' \
    || e2e_fail "the menu played is not the pack's: $(grep -a -m 1 '^Width' "$E2E_LOG")"
xdotool keydown d
e2e_until 5 grep -q -x -F 'Exit Menu' "$E2E_LOG"
reached=$?
xdotool keyup d
[ "$reached" -eq 0 ] || e2e_fail "the pack's menu goal did not start the pack"
grep -q '^Continue' "$E2E_LOG" && e2e_fail "the menu was left by a continue sign, not by its goal"
e2e_quit
e2e_pass "packages built, lintian without errors, metadata valid, installed launcher played from" \
    "a fresh home; a pack drawn in the installed editor, checked and played to its last goal;" \
    "a pack's own menu"

#!/usr/bin/env bash
# The Debian package as a player gets it: built from the tree, checked by
# lintian, desktop-file-validate and appstreamcli, unpacked into a scratch
# root, and its launcher started from an unrelated folder with a fresh home.
# The window opens with the start caption, the preferences appear in the
# player's folder, Escape ends it cleanly. The packaged game itself, started
# without the launcher far from any data, says where it looked and fails.
set -uo pipefail
. "$(dirname "$0")/lib/session.sh"
e2e_begin "${1:?usage: installed.sh PATH-TO-CURDOVAR}" installed
out="$E2E_WORK/package"  # its own, so runs side by side do not meet
version=$(sed -n 's/^project(curdovar VERSION \([0-9.]*\).*/\1/p' "$E2E_REPO/CMakeLists.txt")

bash "$E2E_REPO/tools/build-deb.sh" "$out" >"$E2E_WORK/build.log" 2>&1 \
    || { tail -n 30 "$E2E_WORK/build.log"; e2e_fail "the package did not build"; }
deb="$out/curdovar_${version}_amd64.deb"
[ -f "$deb" ] || e2e_fail "no $deb"

lintian "$deb" >"$E2E_WORK/lintian.log" 2>&1
if grep -q '^E: ' "$E2E_WORK/lintian.log"; then
    cat "$E2E_WORK/lintian.log"
    e2e_fail "lintian reports errors"
fi

root="$E2E_WORK/root"
dpkg -x "$deb" "$root" || e2e_fail "dpkg -x failed"
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
e2e_pass "package built, lintian without errors, metadata valid, installed launcher played from a fresh home"

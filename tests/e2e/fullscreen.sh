#!/usr/bin/env bash
# The real game in Xvfb on a 1920x1080 desktop: F11 goes full screen at the
# desktop's size with the 640x480 picture doubled (pixel-sharp) and centred on
# black; the choice is remembered at the next start; F11 gives the 640x480
# window back.
set -uo pipefail
. "$(dirname "$0")/lib/session.sh"
E2E_SCREEN=1920x1080x24
e2e_begin "${1:?usage: fullscreen.sh PATH-TO-CURDOVAR}" fullscreen
cp "$E2E_REPO/tests/e2e/levels/plain-menu.lvl" "$E2E_WORK/data/levels/menu.lvl"
settings="$E2E_WORK/data/preferences/window-and-pad.cdv"
root="$E2E_WORK/root.png"
full_screen_shown() {
    root_shot
    [ "$(root_pixel 5 5)" = '#000000' ] && [ "$(root_pixel 1915 1075)" = '#000000' ] \
        && [ "$(root_pixel 960 540)" != '#000000' ]
}
# The picture fills exactly 1280x960 at (320, 60) and is black around it.
check_doubled_and_centred() {
    local x y
    for point in 319,540 1600,540 960,59 960,1020 0,0 1919,1079; do
        x=${point%,*}
        y=${point#*,}
        [ "$(root_pixel "$x" "$y")" = '#000000' ] || e2e_fail "border at $point is not black"
    done
    # Menu sky in the corners of the picture: (31, 254, 247).
    [ "$(root_pixel 320 60)" = '#1FFEF7' ] || e2e_fail "picture corner is $(root_pixel 320 60)"
    [ "$(root_pixel 1599 1019)" = '#1FFEF7' ] || e2e_fail "far corner is $(root_pixel 1599 1019)"
    # Pixel-sharp doubling: halving and doubling again changes nothing.
    /usr/bin/convert "$root" -crop 1280x960+320+60 +repage "$E2E_WORK/picture.png"
    /usr/bin/convert "$E2E_WORK/picture.png" -sample 50% -sample 200% "$E2E_WORK/again.png"
    local differing
    differing=$(/usr/bin/compare -metric AE "$E2E_WORK/picture.png" "$E2E_WORK/again.png" \
        null: 2>&1)
    [ "$differing" = 0 ] || e2e_fail "$differing pixels are not in 2x2 blocks"
    cp "$root" "$E2E_SHOTS/fullscreen-$1.png"
}

e2e_start
e2e_playing
[ "$(e2e_geometry)" = "640x480" ] || e2e_fail "window is $(e2e_geometry), expected 640x480"
e2e_settled 5
grep -q -x 'No window settings found: scale 1, windowed' "$E2E_LOG" \
    || e2e_fail "a missing settings file was not reported"

e2e_key F11
e2e_until 5 e2e_line_is "$settings" 3 'fullscreen 1' || e2e_fail "full screen not remembered"
e2e_until 5 full_screen_shown || e2e_fail "the desktop is not covered"
sleep 0.5
root_shot
check_doubled_and_centred first
e2e_quit

# The next start opens full screen at once (the picture is on the full-screen
# window, not on the one the window manager would see).
e2e_start
e2e_wait_for 'Objects loaded.' 10
e2e_until 10 full_screen_shown || e2e_fail "the next start is not full screen"
sleep 0.5
root_shot
check_doubled_and_centred again
grep -q 'window settings' "$E2E_LOG" && e2e_fail "the settings file was not read"

e2e_key F11
e2e_until 5 e2e_line_is "$settings" 3 'fullscreen 0' || e2e_fail "windowed not remembered"
e2e_until 5 eval '[ "$(e2e_geometry)" = "640x480" ]' \
    || e2e_fail "window is $(e2e_geometry) after F11, expected 640x480"
e2e_until 5 eval '! full_screen_shown' || e2e_fail "the desktop is still covered"
e2e_shot fullscreen-back
e2e_quit
e2e_pass "F11 to 1920x1080 with the picture doubled at (320, 60), remembered, F11 back to 640x480"

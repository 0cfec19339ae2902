#!/usr/bin/env bash
# The real game in Xvfb on a 1920x1080 desktop: the options menu's Resolution
# button switches the tile size 32 -> 16 -> 32, once in a window at 2x and
# once in full screen. After each switch the window is what a start-up with
# that tile size would open (1280x960 or 640x480 at 2x; the desktop, with the
# largest whole scale, in full screen), the menu level fills the picture (its
# floor reaches the right edge), the picture is centred and pixel-sharp, and
# a click lands on the button under it.
set -uo pipefail
. "$(dirname "$0")/lib/session.sh"
E2E_SCREEN=1920x1080x24
e2e_begin "${1:?usage: tilesize.sh PATH-TO-CURDOVAR}" tilesize
# A floor seven tiles deep under the whole view, the options object three
# tiles right of the start.
cp "$E2E_REPO/tests/e2e/levels/tilesize-menu.lvl" "$E2E_WORK/data/levels/menu.lvl"
prefs="$E2E_WORK/data/preferences/prefs.cdv"
root="$E2E_WORK/root.png"

# Where the picture is on the desktop: X Y SCALE, set by expect_layout.
pic_x=0 pic_y=0 pic_scale=1 tile=32

# A point of the picture (in picture pixels) on the desktop.
at() { echo "$(( pic_x + $1 * pic_scale )) $(( pic_y + $2 * pic_scale ))"; }

options_open() {
    root_shot
    # The options menu is black but for its buttons and labels in the top left.
    [ "$(root_pixel $(at 300 200))" = '#000000' ] && [ "$(root_pixel $(at 20 230))" = '#000000' ]
}

# Walks into the options object (three tiles right of the start).
open_options() {
    settled "$1"
    e2e_hold d 1.2
    e2e_until 5 options_open || e2e_fail "the options menu did not open ($1)"
}

# Clicks the Resolution button and leaves the menu.
switch_tile_size() {
    local before
    before=$(md5sum <"$root")
    xdotool mousemove $(at 70 67) click 1
    e2e_until 5 eval 'root_shot; [ "$(md5sum <"$root")" != "$before" ]' \
        || e2e_fail "a click on Resolution did not land ($1)"
    e2e_key x
    e2e_until 5 e2e_line_is "$prefs" 2 "$2" || e2e_fail "tile size not $2 after $1"
    tile=$2
}

# Until two desktop pictures a fifth of a second apart are the same.
settled() {
    local before after
    before=$(xwd -root -silent | md5sum)
    for _ in $(seq 25); do
        sleep 0.2
        after=$(xwd -root -silent | md5sum)
        [ "$after" = "$before" ] && return 0
        before=$after
    done
    e2e_fail "the picture never settled ($1)"
}

# set_layout NAME FULL: where a start-up with this tile size puts the picture.
set_layout() {
    local name=$1 full=$2 w=$(( 20 * tile )) h=$(( 15 * tile ))
    if [ "$full" = 1 ]; then
        pic_scale=$(( 1920 / w < 1080 / h ? 1920 / w : 1080 / h ))
        pic_x=$(( (1920 - w * pic_scale) / 2 ))
        pic_y=$(( (1080 - h * pic_scale) / 2 ))
    else
        pic_scale=2
        local expected="$(( w * 2 ))x$(( h * 2 ))"
        e2e_until 5 eval '[ "$(e2e_geometry)" = "$expected" ]' \
            || e2e_fail "window is $(e2e_geometry) at tile size $tile, expected $expected ($name)"
        read -r pic_x pic_y < <(xwininfo -id "$E2E_WINDOW" \
            | awk '/Absolute upper-left X:/ {x=$4} /Absolute upper-left Y:/ {y=$4} END {print x, y}')
    fi
}

# expect_layout NAME FULL: the picture at the place and scale a start-up with
# this tile size would give it, the level across all of it, pixel-sharp.
expect_layout() {
    local name=$1 full=$2 w=$(( 20 * tile )) h=$(( 15 * tile ))
    set_layout "$name" "$full"
    local pw=$(( w * pic_scale )) ph=$(( h * pic_scale ))
    # The level is drawn again (not the menu's black) before it is judged.
    e2e_until 5 eval 'root_shot; [ "$(root_pixel $(at 300 200))" != "#000000" ]' \
        || e2e_fail "the menu level did not come back ($name)"
    settled "$name"
    root_shot
    cp "$root" "$E2E_SHOTS/tilesize-$name.png"
    if [ "$full" = 1 ]; then
        for point in "$(( pic_x - 1 )) 540" "$(( pic_x + pw )) 540" "960 $(( pic_y - 1 ))" \
                     "960 $(( pic_y + ph ))" "0 0" "1919 1079"; do
            [ "$(root_pixel $point)" = '#000000' ] || e2e_fail "border at $point is not black ($name)"
        done
    fi
    # The floor fills the bottom of the picture from edge to edge: the level
    # is drawn across all of it, not into a corner of the sky.
    local corner colour
    for corner in "2 $(( h - 2 ))" "$(( w - 2 )) $(( h - 2 ))" "$(( w / 2 )) $(( h - 2 ))"; do
        colour=$(root_pixel $(at $corner))
        case "$colour" in
            '#1FFEF7'|'#000000') e2e_fail "no floor at picture pixel $corner but $colour ($name)" ;;
        esac
    done
    # Pixel-sharp: every picture pixel is a block of scale by scale.
    /usr/bin/convert "$root" -crop "${pw}x${ph}+${pic_x}+${pic_y}" +repage "$E2E_WORK/picture.png"
    /usr/bin/convert "$E2E_WORK/picture.png" -sample "$(( 100 / pic_scale ))%" \
        -sample "$(( pic_scale * 100 ))%" "$E2E_WORK/again.png"
    local differing
    differing=$(/usr/bin/compare -metric AE "$E2E_WORK/picture.png" "$E2E_WORK/again.png" null: 2>&1)
    [ "$differing" = 0 ] || e2e_fail "$differing pixels are not in blocks ($name)"
}

printf 'scale 2\nfullscreen 0\n' >"$E2E_WORK/data/preferences/window-and-pad.cdv"
e2e_start
e2e_playing
expect_layout window-32 0
open_options "window, 32"
switch_tile_size "window, 32 to 16" 16
expect_layout window-16 0
open_options "window, 16"
switch_tile_size "window, 16 to 32" 32
expect_layout window-back-32 0

e2e_key F11
set_layout full-32 1
e2e_until 5 eval 'root_shot; [ "$(root_pixel 0 0)" = "#000000" ]' || e2e_fail "F11 did not go full screen"
open_options "full screen, 32"
switch_tile_size "full screen, 32 to 16" 16
expect_layout full-16 1
open_options "full screen, 16"
switch_tile_size "full screen, 16 to 32" 32
expect_layout full-back-32 1
# And a click still lands after the last switch: Music turns the music off.
open_options "full screen, 32 again"
xdotool mousemove $(at 70 27) click 1
e2e_key x
e2e_until 5 e2e_line_is "$prefs" 1 0 || e2e_fail "a click on Music did not land after the switches"
e2e_quit
e2e_pass "32 -> 16 -> 32 at 2x and in full screen: the window as at start-up, the level across the picture, centred and sharp, clicks on the buttons"

#!/usr/bin/env bash
# The options and controls menus in the page against the native game's, pixel
# for pixel. Both games open them from the same small menu level (the options
# three tiles to the right, the controls three to the left); the native game
# runs in Xvfb through the end-to-end checks' steps.
#
#   tests/web/menus.sh NATIVE-CURDOVAR WEB_DIR SHOTS_DIR
set -euo pipefail
game=$(realpath "$1")
web_dir=$(realpath "$2")
mkdir -p "$3"
shots=$(realpath "$3")
here=$(cd "$(dirname "$0")" && pwd)
cd "$here/../.."
level=tests/e2e/levels/menus-menu.lvl

# The native pictures, in a shell of their own: the end-to-end steps tidy up
# their X server and game when it ends.
(
    . tests/e2e/lib/session.sh
    e2e_begin "$game" web-menus
    native_picture() {
        sleep 0.3
        xwd -id "$E2E_WINDOW" -silent | /usr/bin/convert xwd:- +set comment -depth 8 ppm:"$shots/$1-native.ppm"
    }
    cp "$level" "$E2E_WORK/data/levels/menu.lvl"
    e2e_start
    e2e_playing
    e2e_settled 5
    # Held until the menu opens, however slowly the machine plays.
    xdotool keydown d
    e2e_until 10 e2e_pixel_is 600 400 '#000000' || e2e_fail "the options menu did not open"
    xdotool keyup d
    native_picture options
    e2e_key x
    e2e_until 5 e2e_pixel_is_not 600 400 '#000000' || e2e_fail "the menu level did not come back"
    e2e_settled 5
    xdotool keydown a
    e2e_until 10 e2e_pixel_is 600 400 '#000000' || e2e_fail "the controls menu did not open"
    xdotool keyup a
    native_picture controls
    e2e_key x
    e2e_until 5 e2e_pixel_is_not 600 400 '#000000' || e2e_fail "the menu level did not come back"
    e2e_quit
)

source "$here/serve.sh"
find_browser
serve "$web_dir" index.html
node --experimental-websocket --no-warnings "$here/menus-check.mjs" "http://127.0.0.1:$port/" \
    "$browser" "$level" "$shots"

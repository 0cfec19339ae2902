// What the page around the game asks the game, from the page's script
// between frames: whether it is in full screen (the page then fills the
// screen as well).
#include "menus/Settings.h"

#include <emscripten.h>

extern "C" {

EMSCRIPTEN_KEEPALIVE int webFullScreen() {
    return fullScreen ? 1 : 0;
}
}

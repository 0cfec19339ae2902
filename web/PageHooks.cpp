// What the page around the game asks the game: whether it is in full screen
// (the page then fills the screen as well) and the keys of the six actions,
// bound and fixed (for the page's list of controls). Called from the page's script
// between frames.
#include "media/Text.h"
#include "menus/Settings.h"

#include <emscripten.h>

#include <string>

extern "C" {

EMSCRIPTEN_KEEPALIVE int webFullScreen() {
    return fullScreen ? 1 : 0;
}

// The SDL key bound to a UserKey, 0 when none is.
EMSCRIPTEN_KEEPALIVE int webBinding(int userKey) {
    return userKey >= 0 && userKey < userKeyCount ? userKeys[userKey] : 0;
}

// The n-th fixed second key that stands for a UserKey now (the arrows,
// Space, the up arrow), 0 past the last: a fixed key bound to an action is
// that action's alone.
EMSCRIPTEN_KEEPALIVE int webFixedKey(int userKey, int n) {
    for (int i = 0; i < fixedKeyCount; ++i) {
        if (fixedKeyAction(fixedKeys[i]) != userKey) continue;
        if (n-- == 0) return fixedKeys[i];
    }
    return 0;
}

// The caption the controls menu gives an action ("Jump" ... "Explode All").
EMSCRIPTEN_KEEPALIVE const char* webActionName(int userKey) {
    return userKey >= 0 && userKey < userKeyCount ? userKeyCaptions[userKey] : "";
}

// The name the controls menu shows for a key.
EMSCRIPTEN_KEEPALIVE const char* webKeyName(int key) {
    static std::string name;
    name = keyName(key);
    return name.c_str();
}
}

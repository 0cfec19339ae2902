#include "menus/ActionNames.h"

#include "media/Text.h"
#include "menus/Settings.h"
#include "shell/Input.h"

#include <SDL.h>

#include <cctype>

namespace {
// A key as a sign names it: SDL's name with a capital ("Space", "[4]").
std::string signKeyName(int key) {
    std::string name = keyName(key);
    if (!name.empty()) name[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(name[0])));
    return name;
}

void addName(std::string& names, const std::string& name) {
    if (name.empty()) return;
    names += (names.empty() ? "" : "/") + name;
}
}  // namespace

std::string actionKeysName(int action) {
    if (action < 0 || action >= userKeyCount) return std::string();
    std::string names;
    if (userKeys[action] != SDLK_UNKNOWN) addName(names, signKeyName(userKeys[action]));
    // One fixed key is enough to tell a newcomer; signs are short.
    for (int i = 0; i < fixedKeyCount; ++i) {
        if (fixedKeyAction(fixedKeys[i]) == action) {
            addName(names, signKeyName(fixedKeys[i]));
            break;
        }
    }
    if (padOpen() && padButtons[action] != noPadButton) {
        addName(names, "Pad " + intToString(padButtons[action]));
    }
    return names;
}

std::string nameActions(const std::string& text) {
    std::string named;
    std::string::size_type from = 0;
    for (;;) {
        const std::string::size_type open = text.find('{', from);
        const std::string::size_type close =
            open == std::string::npos ? open : text.find('}', open);
        if (close == std::string::npos) break;
        const std::string caption = text.substr(open + 1, close - open - 1);
        int action = userKeyCount;
        for (int i = 0; i < userKeyCount; ++i) {
            if (caption == userKeyCaptions[i]) action = i;
        }
        named += text.substr(from, open - from);
        if (action < userKeyCount) {
            named += actionKeysName(action);
            from = close + 1;
        } else {
            // Not an action: the brace stays, and the search goes on after it.
            named += '{';
            from = open + 1;
        }
    }
    return named + text.substr(from);
}

#include "menus/ActionNames.h"

#include "media/Text.h"
#include "menus/Settings.h"
#include "shell/Input.h"

std::string actionKeysName(int action) {
    if (action < 0 || action >= userKeyCount) return std::string();
    std::string name = keyName(userKeys[action]);
    if (padOpen() && padButtons[action] != noPadButton) {
        name += " or Pad " + intToString(padButtons[action]);
    }
    return name;
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

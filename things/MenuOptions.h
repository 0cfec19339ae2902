#pragma once

#include "things/Thing.h"

// The menu level's door to the options menu.
class MenuOptions final : public Thing {
public:
    MenuOptions(int col, int row);
    int touch(Player* player) override;
};

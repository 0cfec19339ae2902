#pragma once

#include "things/Thing.h"

// The menu level's door to the controls menu.
class MenuControls final : public Thing {
public:
    MenuControls(int col, int row);
    int touch(Player* player) override;
};

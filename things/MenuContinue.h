#pragma once

#include "things/Thing.h"

// The menu level's way back into a game: play goes on from the checkpoint's level.
class MenuContinue final : public Thing {
public:
    MenuContinue(int col, int row);
    int touch(Player* player) override;
};

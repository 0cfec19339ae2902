#pragma once

#include "things/Thing.h"

// Solid until the Player brings a key; then it takes the key and vanishes.
class Door final : public Thing {
public:
    Door(int col, int row);
    int touch(Player* player) override;
};

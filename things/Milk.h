#pragma once

#include "things/Thing.h"

// A bottle of milk: one more life, once.
class Milk final : public Thing {
public:
    Milk(int col, int row);
    int touch(Player* player) override;
};

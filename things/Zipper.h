#pragma once

#include "things/Chomper.h"

// A Chomper at twice the speed.
class Zipper final : public Chomper {
public:
    Zipper(int col, int row);
};

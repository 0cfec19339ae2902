#pragma once

#include "things/Enemy.h"

// Crosses the level diagonally and bounces off walls like a ball in a box.
class Flapper final : public Enemy {
public:
    Flapper(int col, int row);
    void update(const Grid& grid, const ThingList& things) override;
    bool isVulnerable(int status, int form) const override;

    int getDx() const { return dx; }
    int getDy() const { return dy; }

private:
    Sint32 dx = 1;  // +1 right, -1 left
    Sint32 dy = 1;  // +1 down, -1 up
};

// Forgets the shared wing-beat clock (for tests and tools).
void resetFlapClock();

#pragma once

#include "things/Enemy.h"

// Walks left and right along its row, turning at walls, chomping in step
// with every other Chomper and Zipper.
class Chomper : public Enemy {
public:
    Chomper(int col, int row);
    void update(const Grid& grid, const ThingList& things) override;

    int getDirection() const { return direction; }

protected:
    // For the Zipper: another image and speed.
    Chomper(int col, int row, const char* imageName, int stepPixels);

    Sint32 speed;          // pixels per step
    Sint32 direction = -1; // -1 left, +1 right
};

// The chomp phase every Chomper and Zipper shows (0 or 1).
int chompPhase();
// Forgets the shared chomp clock, as at program start (for tests and tools).
void resetChompClock();

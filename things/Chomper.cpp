#include "things/Chomper.h"

#include "level/Tiles.h"
#include "media/Images.h"
#include "media/Geometry.h"

namespace {
constexpr int chomperSpeed = 1;  // pixels per frame

// One chomp phase and clock for every Chomper and Zipper of the run.
int phase = 0;
SharedClock chompClock;
}  // namespace

int chompPhase() { return phase; }

void resetChompClock() {
    phase = 0;
    chompClock.reset();
}

Chomper::Chomper(int col, int row) : Chomper(col, row, kindImage(KindChomper), chomperSpeed) {}

Chomper::Chomper(int col, int row, const char* imageName, int stepPixels)
    : Enemy(col, row), speed(stepPixels) {
    image = loadTileImage(imageName);
}

void Chomper::update(const Grid& grid, const ThingList&) {
    rect.x = wrap16(rect.x + speed * direction);
    if (chompClock.tick()) phase = 1 - phase;
    if (blocked(grid)) {
        const int old = direction;
        direction = -old;
        rect.x = wrap16(rect.x - old * speed);
    }
    frame = direction + 1 + phase;
}

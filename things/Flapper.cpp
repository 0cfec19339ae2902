#include "things/Flapper.h"

#include "level/Tiles.h"
#include "media/Images.h"
#include "player/Player.h"
#include "media/Geometry.h"

namespace {
constexpr int flapFrames = 4;  // frames of the wing-beat cycle

// One wing-beat clock, so every Flapper beats in step.
int flapFrame = 0;
SharedClock flapClock;
}  // namespace

void resetFlapClock() {
    flapFrame = 0;
    flapClock.reset();
}

Flapper::Flapper(int col, int row) : Enemy(col, row) { image = loadTileImage(kindImage(KindFlapper)); }

void Flapper::update(const Grid& grid, const ThingList&) {
    // Each axis bounces on its own, so a wall on one leaves the other moving.
    rect.x = wrap16(rect.x + dx);
    if (blocked(grid)) {
        rect.x = wrap16(rect.x - dx);
        dx = -dx;
    }
    rect.y = wrap16(rect.y + dy);
    if (blocked(grid)) {
        rect.y = wrap16(rect.y - dy);
        dy = -dy;
    }
    if (flapClock.tick()) flapFrame = (flapFrame + 1) % flapFrames;
    frame = flapFrame;
}

bool Flapper::isVulnerable(int status, int) const { return status == StatusGerman; }

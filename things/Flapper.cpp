#include "things/Flapper.h"

#include "media/Images.h"
#include "player/Player.h"
#include "shell/Clock.h"
#include "things/Geometry.h"

namespace {
constexpr Uint32 flapInterval = 500;  // ms per wing-beat frame
constexpr int flapFrames = 4;         // frames of the wing-beat cycle

// One wing-beat clock, so every Flapper beats in step.
int flapFrame = 0;
bool flapClockStarted = false;
Uint32 nextFlapTime = 0;
}  // namespace

void resetFlapClock() {
    flapFrame = 0;
    flapClockStarted = false;
    nextFlapTime = 0;
}

Flapper::Flapper(int col, int row) : Enemy(col, row) { image = loadTileImage("flapperanim"); }

void Flapper::update(const Grid& grid, const ThingList&) {
    if (!flapClockStarted) {
        nextFlapTime = clockTicks();
        flapClockStarted = true;
    }
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
    if (clockTicks() > nextFlapTime) {
        flapFrame = (flapFrame + 1) % flapFrames;
        nextFlapTime += flapInterval;
    }
    frame = flapFrame;
}

void Flapper::draw(SDL_Surface* screen, const SDL_Rect* camera) {
    SDL_Rect source = frames[frame];
    drawSurface(wrap16(rect.x - camera->x), wrap16(rect.y - camera->y), image, screen, &source,
                255);
}

bool Flapper::isVulnerable(int status, int) const { return status == StatusGerman; }

#include "things/Chomper.h"

#include "media/Images.h"
#include "shell/Clock.h"
#include "things/Geometry.h"

namespace {
constexpr Uint32 chompInterval = 500;  // ms between flips of the shared chomp phase
constexpr int chomperSpeed = 1;        // pixels per frame

// One chomp clock for every Chomper and Zipper of the run.
int phase = 0;
bool chompClockStarted = false;
Uint32 nextChompTime = 0;
}  // namespace

int chompPhase() { return phase; }

void resetChompClock() {
    phase = 0;
    chompClockStarted = false;
    nextChompTime = 0;
}

Chomper::Chomper(int col, int row) : Chomper(col, row, "chomperanim", chomperSpeed) {}

Chomper::Chomper(int col, int row, const char* imageName, int stepPixels)
    : Enemy(col, row), speed(stepPixels) {
    image = loadTileImage(imageName);
}

void Chomper::update(const Grid& grid, const ThingList&) {
    if (!chompClockStarted) {
        nextChompTime = clockTicks();
        chompClockStarted = true;
    }
    rect.x = wrap16(rect.x + speed * direction);
    // The deadline moves by a fixed step, so after a pause the phase flips
    // at every update until it has caught up with the clock.
    if (clockTicks() > nextChompTime) {
        phase = 1 - phase;
        nextChompTime += chompInterval;
    }
    if (blocked(grid)) {
        const int old = direction;
        direction = -old;
        rect.x = wrap16(rect.x - old * speed);
    }
    frame = direction + 1 + phase;
}

void Chomper::draw(SDL_Surface* screen, const SDL_Rect* camera) {
    SDL_Rect source = frames[frame];
    drawSurface(wrap16(rect.x - camera->x), wrap16(rect.y - camera->y), image, screen, &source,
                255);
}

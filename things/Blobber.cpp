#include "things/Blobber.h"

#include "media/Images.h"
#include "player/Player.h"
#include "shell/Clock.h"
#include "things/Geometry.h"

namespace {
constexpr Uint32 aimInterval = 500;  // ms between re-aims of the shared heading
constexpr int blobFrames = 4;        // frames of the strip
constexpr int startStepX = 1;        // heading at program start: right
constexpr int startStepY = -1;       // and up

// One heading and one aim clock for every Blobber of the run.
int stepX = startStepX;
int stepY = startStepY;
bool aimClockStarted = false;
Uint32 nextAimTime = 0;
}  // namespace

int blobStepX() { return stepX; }
int blobStepY() { return stepY; }

void resetBlobClock() {
    stepX = startStepX;
    stepY = startStepY;
    aimClockStarted = false;
    nextAimTime = 0;
}

Blobber::Blobber(int col, int row) : Enemy(col, row) { image = loadTileImage("blobberanim"); }

void Blobber::update(const Grid& grid, const ThingList&) {
    if (!aimClockStarted) {
        nextAimTime = clockTicks();
        aimClockStarted = true;
    }
    // A blocked axis waits for the next re-aim instead of turning.
    rect.x = wrap16(rect.x + stepX);
    if (blocked(grid)) rect.x = wrap16(rect.x - stepX);
    rect.y = wrap16(rect.y + stepY);
    if (blocked(grid)) rect.y = wrap16(rect.y - stepY);
    // Only the first Blobber past the deadline re-aims, from where it stands.
    if (clockTicks() > nextAimTime) {
        nextAimTime += aimInterval;
        frame = (frame + 1) % blobFrames;
        if (target) {
            stepX = rect.x < target->x ? 1 : -1;
            stepY = rect.y < target->y ? 1 : -1;
        }
    }
}

void Blobber::draw(SDL_Surface* screen, const SDL_Rect* camera) {
    SDL_Rect source = frames[frame];
    drawSurface(wrap16(rect.x - camera->x), wrap16(rect.y - camera->y), image, screen, &source,
                255);
}

bool Blobber::isVulnerable(int status, int) const { return status == StatusGerman; }

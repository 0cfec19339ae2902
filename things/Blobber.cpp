#include "things/Blobber.h"

#include "level/Tiles.h"
#include "media/Images.h"
#include "player/Player.h"
#include "media/Geometry.h"

namespace {
constexpr int blobFrames = 4;        // frames of the strip
constexpr int startStepX = 1;        // heading at program start: right
constexpr int startStepY = -1;       // and up

// One heading and one aim clock for every Blobber of the run.
int stepX = startStepX;
int stepY = startStepY;
SharedClock aimClock;
}  // namespace

int blobStepX() { return stepX; }
int blobStepY() { return stepY; }

void resetBlobClock() {
    stepX = startStepX;
    stepY = startStepY;
    aimClock.reset();
}

Blobber::Blobber(int col, int row) : Enemy(col, row) { image = loadTileImage(kindImage(KindBlobber)); }

void Blobber::update(const Grid& grid, const ThingList&) {
    // A blocked axis waits for the next re-aim instead of turning.
    rect.x = wrap16(rect.x + stepX);
    if (blocked(grid)) rect.x = wrap16(rect.x - stepX);
    rect.y = wrap16(rect.y + stepY);
    if (blocked(grid)) rect.y = wrap16(rect.y - stepY);
    // Only the first Blobber past the deadline re-aims, from where it stands.
    if (aimClock.tick()) {
        frame = (frame + 1) % blobFrames;
        if (target) {
            stepX = rect.x < target->x ? 1 : -1;
            stepY = rect.y < target->y ? 1 : -1;
        }
    }
}

bool Blobber::isVulnerable(int status, int) const { return status == StatusGerman; }

#include "tools/replay/ViewStats.h"

#include "level/Level.h"
#include "level/Tiles.h"
#include "menus/Settings.h"

#include <algorithm>

namespace {

// Length of the overlap of [a0, a1) and [b0, b1).
long overlap(long a0, long a1, long b0, long b1) {
    return std::max(0L, std::min(a1, b1) - std::max(a0, b0));
}

}  // namespace

void ViewStats::add(const Level& level) {
    // The first frame of a process places the camera before it knows the
    // view's size (a fresh camera is 0 by 0), so it stands far off for that
    // one frame; a player never sees it again, and neither do these figures.
    if (!skippedFirst) {
        skippedFirst = true;
        return;
    }
    const long t = tileSize;
    // The view is the window's size, wherever the camera stands this frame.
    const long x0 = camera.x;
    const long y0 = camera.y;
    const long x1 = x0 + windowColumns * t;
    const long y1 = y0 + windowRows * t;
    const long viewArea = (x1 - x0) * (y1 - y0);
    const long gridW = level.getWidth() * t;
    const long gridH = level.getHeight() * t;

    const long inside = overlap(x0, x1, 0, gridW) * overlap(y0, y1, 0, gridH);
    const double outsideShare = 1.0 - static_cast<double>(inside) / viewArea;
    if (outsideShare > 0.0) ++outsideFrames;
    maxOutside = std::max(maxOutside, outsideShare);

    long wallArea = 0;
    const Grid& grid = level.getGrid();
    const bool seeHidden = level.getSeeHidden();
    const long firstColumn = std::max(0L, x0 / t);
    const long firstRow = std::max(0L, y0 / t);
    for (long c = firstColumn; c < level.getWidth() && c * t < x1; ++c) {
        for (long r = firstRow; r < level.getHeight() && r * t < y1; ++r) {
            if (!showsAsWall(grid[c][r], seeHidden)) continue;
            wallArea += overlap(c * t, c * t + t, x0, x1) * overlap(r * t, r * t + t, y0, y1);
        }
    }
    const double wallShare = static_cast<double>(wallArea) / viewArea;
    wallShareSum += wallShare;
    maxWall = std::max(maxWall, wallShare);
    ++frameCount;
}

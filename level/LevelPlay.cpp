#include "level/Level.h"

#include "level/Tiles.h"
#include "media/BlitCache.h"
#include "media/Images.h"
#include "menus/Settings.h"
#include "media/Geometry.h"
#include "shell/Display.h"
#include "shell/Particles.h"

#include <cstdlib>
#include <vector>

namespace {

constexpr int cameraMarginTiles = 7;  // the Player stays this many tiles from the view's edges
constexpr int parallaxDivisor = 6;    // the background scrolls a sixth as fast as the level
constexpr int blastCells = 2;         // crackable walls go this many cells around the blast
constexpr int blastTiles = 5;         // edge of the square that destroys small objects
constexpr int shakePerBlast = 8;      // frames of screen shake an explosion adds

EncodedTwin backgroundTwin;
EncodedTwin tileTwins[tileSlotCount];

// One of -5..4: how far, in units of the remaining shake, the view jumps this frame.
int shakeFactor() { return std::rand() % 10 - 5; }

bool blastDestroys(int kind) {
    const KindInfo* entry = findKind(kind);
    return entry && entry->blastDestroys;
}

}  // namespace

int Level::step() {
    // The list may shrink while it is walked (a bomb's blast deletes objects
    // at once), so its length is read afresh at every index.
    for (size_t i = 0; i < things.size(); ++i) things[i]->update(grid, things);

    player.update(grid, things);

    // In 64 bits: a tall level at a large tile size reaches past the int range.
    if (player.getRect()->y > static_cast<long long>(height) * tileSize) player.die();

    size_t kept = 0;
    for (Thing* thing : things) {
        if (thing->isDead()) {
            delete thing;
        } else {
            things[kept++] = thing;
        }
    }
    things.resize(kept);

    // Only the first raised flag is taken; the others wait for a later step.
    if (player.takeFlag(LevelDone)) return StepLevelDone;
    if (player.takeFlag(OpenControls)) return StepOpenControls;
    if (player.takeFlag(OpenOptions)) return StepOpenOptions;
    if (player.takeFlag(ContinueGame)) return StepContinue;
    return StepNothing;
}

void Level::followPlayer() {
    const int t = tileSize;
    const Sint16 px = player.getRect()->x;
    const Sint16 py = player.getRect()->y;
    const Sint16 margin = wrap16(cameraMarginTiles * t);

    // camera.w and camera.h are still the previous frame's (0 before the first).
    const Sint16 leftLimit = wrap16(px - margin);
    if (camera.x > leftLimit) camera.x = leftLimit;
    const Sint16 rightLimit = wrap16(px - camera.w + margin);
    if (rightLimit > camera.x) camera.x = rightLimit;
    if (camera.x < 0) camera.x = 0;

    const Sint16 topLimit = wrap16(py - margin);
    const Sint16 bottomLimit = wrap16(py - camera.h + margin);
    if (camera.y > topLimit) {
        camera.y = topLimit;
    } else if (bottomLimit > camera.y) {
        camera.y = bottomLimit;
    }
    if (camera.y < 0) camera.y = 0;

    camera.w = static_cast<Uint16>(windowColumns * t);
    camera.h = static_cast<Uint16>(windowRows * t);
}

void Level::drawBackground() {
    if (!background || background->w <= 0 || background->h <= 0 || !screen) return;
    SDL_Surface* image = backgroundTwin.of(background);
    for (int x = -(camera.x / parallaxDivisor); x < screen->w; x += background->w) {
        for (int y = -(camera.y / parallaxDivisor); y < screen->h; y += background->h) {
            drawSurface(wrap16(x), wrap16(y), image, screen, nullptr, 255);
        }
    }
}

void Level::drawTiles() {
    const int t = tileSize;
    // A camera shaken past the level's left or top edge still draws from the first cell.
    const int firstColumn = camera.x > 0 ? camera.x / t : 0;
    const int firstRow = camera.y > 0 ? camera.y / t : 0;
    const int lastColumn = (camera.w + camera.x) / t;
    const int lastRow = (camera.h + camera.y) / t;
    // Each image is checked against its twin once per frame, not once per cell.
    SDL_Surface* images[tileSlotCount];
    for (int v = 0; v < tileSlotCount; ++v) images[v] = tileTwins[v].of(getTileImage(v));
    for (int c = firstColumn; c < width && c <= lastColumn; ++c) {
        for (int r = firstRow; r < height && r <= lastRow; ++r) {
            int v = grid[c][r];
            if (!seeHidden) {
                const Shown shown = tileInfo(v).shown;
                if (shown == Shown::InShades) continue;
                if (shown == Shown::AsWallUnlessShaded) v = TileWall;
            }
            drawSurface(wrap16(c * t - camera.x), wrap16(r * t - camera.y),
                        v >= 0 && v < tileSlotCount ? images[v] : nullptr, screen, nullptr, 255);
        }
    }
}

void Level::draw() { drawFrame(true); }

void Level::drawUnseen() { drawFrame(false); }

void Level::drawFrame(bool paint) {
    seeHidden = player.getStatus() == StatusShaded;
    followPlayer();

    const SDL_Rect steady = camera;
    // Both factors are drawn every frame, shaking or not, so the random
    // sequence the rest of the game sees does not depend on the shake.
    const int shakeX = shakeFactor();
    camera.x = wrap16(camera.x + shake * shakeX);
    const int shakeY = shakeFactor();
    camera.y = wrap16(camera.y + shake * shakeY);

    if (paint) {
        // F11 may have replaced the game's picture since the level was built.
        screen = currentPicture(screen);
        drawBackground();
        drawTiles();
        for (Thing* thing : things) thing->draw(screen, &camera);
        player.draw(screen, &camera);
        stepParticles(screen, &camera);
        player.drawStatus(screen);
    }

    camera = steady;
    if (shake > 0) --shake;
}

int Level::onExplosion(int x, int y) {
    const int cx = x / tileSize;
    const int cy = y / tileSize;
    for (int c = cx - blastCells; c <= cx + blastCells; ++c) {
        for (int r = cy - blastCells; r <= cy + blastCells; ++r) {
            if (c < 0 || c >= width || r < 0 || r >= height) continue;
            if (tileInfo(grid[c][r]).crackable) grid[c][r] = TileEmpty;
        }
    }

    SDL_Rect blast;
    blast.x = wrap16(x);
    blast.y = wrap16(y);
    blast.w = static_cast<Uint16>(blastTiles * tileSize);
    blast.h = static_cast<Uint16>(blastTiles * tileSize);
    // Destroyed objects leave the list at once: the step walking it must not
    // meet them again.
    for (size_t i = 0; i < things.size();) {
        Thing* thing = things[i];
        if (blastDestroys(thing->getType()) && overlaps(*thing->getRect(), blast)) {
            delete thing;
            things.erase(things.begin() + static_cast<std::ptrdiff_t>(i));
        } else {
            ++i;
        }
    }

    shake += shakePerBlast;
    return 0;
}

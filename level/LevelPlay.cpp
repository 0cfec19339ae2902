#include "level/Level.h"

#include "media/Images.h"
#include "menus/Settings.h"
#include "shell/Particles.h"
#include "things/Geometry.h"

#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

constexpr int cameraMarginTiles = 7;  // the Player stays this many tiles from the view's edges
constexpr int parallaxDivisor = 6;    // the background scrolls a sixth as fast as the level
constexpr int blastCells = 2;         // crackable walls go this many cells around the blast
constexpr int blastTiles = 5;         // edge of the square that destroys small objects
constexpr int shakePerBlast = 8;      // frames of screen shake an explosion adds
constexpr int hiddenWall = 13;        // drawn only while the Player wears shades
constexpr int fakeWall = 21;          // looks like a wall unless the Player wears shades
constexpr int plainWall = 1;
constexpr int crackableWall = 17;

// A run-length encoded twin of an image drawn every frame. SDL copies its
// opaque runs whole instead of testing each pixel against the colour key,
// and the picture is the same. The twin is remade whenever the original is
// not exactly what it was made from (a new level, another Level's tiles).
class EncodedTwin {
public:
    // The twin of original, or original itself when it cannot have one.
    SDL_Surface* of(SDL_Surface* original) {
        if (!original || !twinnable(original)) return original;
        if (original != source || !matches(original)) remake(original);
        return twin ? twin : original;
    }

private:
    static constexpr Uint32 watchedFlags = SDL_SRCCOLORKEY | SDL_SRCALPHA | SDL_RLEACCEL;

    // Colour-keyed software pixels that can be read without a lock.
    static bool twinnable(const SDL_Surface* image) {
        return (image->flags & watchedFlags) == SDL_SRCCOLORKEY && !SDL_MUSTLOCK(image) &&
               image->pixels && image->format && image->w > 0 && image->h > 0;
    }

    size_t rowBytes() const { return static_cast<size_t>(w) * bytesPerPixel; }

    bool matches(const SDL_Surface* image) const {
        const SDL_PixelFormat& f = *image->format;
        if (!twin || image->w != w || image->h != h || image->pitch != pitch ||
            f.BytesPerPixel != bytesPerPixel || f.Rmask != masks[0] || f.Gmask != masks[1] ||
            f.Bmask != masks[2] || f.Amask != masks[3] || f.colorkey != key || f.palette) {
            return false;
        }
        const Uint8* row = static_cast<const Uint8*>(image->pixels);
        for (int y = 0; y < h; ++y, row += pitch) {
            if (std::memcmp(row, &pixels[static_cast<size_t>(y) * rowBytes()], rowBytes()) != 0) {
                return false;
            }
        }
        return true;
    }

    void remake(SDL_Surface* image) {
        if (twin) SDL_FreeSurface(twin);
        twin = nullptr;
        source = image;
        const SDL_PixelFormat& f = *image->format;
        w = image->w;
        h = image->h;
        pitch = image->pitch;
        bytesPerPixel = f.BytesPerPixel;
        masks[0] = f.Rmask;
        masks[1] = f.Gmask;
        masks[2] = f.Bmask;
        masks[3] = f.Amask;
        key = f.colorkey;
        if (f.palette) return;
        pixels.resize(rowBytes() * static_cast<size_t>(h));
        const Uint8* row = static_cast<const Uint8*>(image->pixels);
        for (int y = 0; y < h; ++y, row += pitch) {
            std::memcpy(&pixels[static_cast<size_t>(y) * rowBytes()], row, rowBytes());
        }
        // Without the colour key in the flags the conversion copies every pixel as it is.
        twin = SDL_ConvertSurface(image, image->format, SDL_SWSURFACE);
        if (twin) SDL_SetColorKey(twin, SDL_SRCCOLORKEY | SDL_RLEACCEL, key);
    }

    SDL_Surface* source = nullptr;  // borrowed; compared, never dereferenced when stale
    SDL_Surface* twin = nullptr;    // owned
    std::vector<Uint8> pixels;      // the original's pixels when the twin was made
    int w = 0;
    int h = 0;
    int pitch = 0;
    Uint8 bytesPerPixel = 0;
    Uint32 masks[4] = {};
    Uint32 key = 0;
};

EncodedTwin backgroundTwin;
EncodedTwin tileTwins[tileSlotCount];

// One of -5..4: how far, in units of the remaining shake, the view jumps this frame.
int shakeFactor() { return std::rand() % 10 - 5; }

// The kinds a blast destroys: hints and the small enemies.
bool blastDestroys(int kind) {
    return kind == 28 || kind == 30 || kind == 31 || kind == 32 || kind == 33;
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

    camera.w = static_cast<Uint16>(levelViewColumns * t);
    camera.h = static_cast<Uint16>(levelViewRows * t);
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
                if (v == hiddenWall) continue;
                if (v == fakeWall) v = plainWall;
            }
            drawSurface(wrap16(c * t - camera.x), wrap16(r * t - camera.y),
                        v >= 0 && v < tileSlotCount ? images[v] : nullptr, screen, nullptr, 255);
        }
    }
}

void Level::draw() {
    seeHidden = player.getStatus() == StatusShaded;
    followPlayer();

    const SDL_Rect steady = camera;
    // Both factors are drawn every frame, shaking or not, so the random
    // sequence the rest of the game sees does not depend on the shake.
    const int shakeX = shakeFactor();
    camera.x = wrap16(camera.x + shake * shakeX);
    const int shakeY = shakeFactor();
    camera.y = wrap16(camera.y + shake * shakeY);

    drawBackground();
    drawTiles();
    for (Thing* thing : things) thing->draw(screen, &camera);
    player.draw(screen, &camera);
    stepParticles(screen, &camera);
    player.drawStatus(screen);

    camera = steady;
    if (shake > 0) --shake;
}

int Level::onExplosion(int x, int y) {
    const int cx = x / tileSize;
    const int cy = y / tileSize;
    for (int c = cx - blastCells; c <= cx + blastCells; ++c) {
        for (int r = cy - blastCells; r <= cy + blastCells; ++r) {
            if (c < 0 || c >= width || r < 0 || r >= height) continue;
            if (grid[c][r] == crackableWall) grid[c][r] = 0;
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

#include "things/Maimframe.h"

#include "level/Tiles.h"
#include "level/Level.h"
#include "media/Images.h"
#include "media/Sound.h"
#include "player/Player.h"
#include "media/Geometry.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {
constexpr int stateWalking = 0;
constexpr int stateWaiting = 1;
constexpr int stateJumping = 2;

constexpr int landingShake = 8;   // shake frames added by a landing (or a ceiling hit)
constexpr int defeatShake = 40;   // shake frames added by the defeat
constexpr int speedAfterLanding = 3;  // pixels per frame, walking right
constexpr int defeatEffect = 0;   // "pterodactyl" in the effect table
constexpr double pi = 3.14159265358979323846;

int sign(int v) { return v > 0 ? 1 : -1; }
}  // namespace

Maimframe::Maimframe(int col, int row) : Enemy(col, row) {
    image = loadTileImage(kindImage(KindMaimframe));
    fitToImage();
}

int Maimframe::bobOffset(int n) const {
    // One copy's hop lasts half the drawing cycle.
    const int hopFrames = bobPeriod / 2;
    return static_cast<int>(std::trunc(bobHeight * std::sin(n * pi / hopFrames)));
}

bool Maimframe::blocked(const Grid& grid) const { return blockedBox(grid, rect.w, rect.h); }

void Maimframe::kill() {
    playEffect(defeatEffect);
    dead = true;
    if (level) level->addShake(defeatShake);
}

bool Maimframe::isVulnerable(int, int form) const { return form == FormGoto; }

bool Maimframe::movePixels(const Grid& grid, int speed, bool vertical) {
    Sint16& axis = vertical ? rect.y : rect.x;
    const int step = sign(speed);
    for (int i = 0; i < std::abs(speed); ++i) {
        axis = wrap16(axis + step);
        if (blocked(grid)) {
            axis = wrap16(axis - step);
            return false;
        }
    }
    return true;
}

void Maimframe::update(const Grid& grid, const ThingList&) {
    switch (state) {
    case stateWalking:
        // No gravity while walking: it keeps its height over gaps.
        ++walkTime;
        if (!movePixels(grid, vx, false)) vx = wrap16(-vx);
        if (walkTime > walkFrames) {
            state = stateWaiting;
            waitTime = 0;
            walkTime = 0;
        }
        break;
    case stateWaiting:
        ++waitTime;
        if (waitTime > waitFrames) {
            state = stateJumping;
            waitTime = 0;
            walkTime = 0;
            vy = wrap16(-jumpPower);
            vx = wrap16(std::rand() % jumpPower - jumpPower / 2);
        }
        break;
    case stateJumping:
        vy = wrap16(static_cast<int>(vy + gravity));
        // A floor and a ceiling end the jump alike.
        if (!movePixels(grid, vy, true)) {
            if (level) level->addShake(landingShake);
            state = stateWalking;
            waitTime = 0;
            walkTime = 0;
            vx = speedAfterLanding;
        }
        if (!movePixels(grid, vx, false)) vx = wrap16(-vx);
        break;
    default:
        break;
    }
}

void Maimframe::draw(SDL_Surface* screen, const SDL_Rect* camera) {
    const int period = bobPeriod;
    const int half = period / 2;
    const int sx = wrap16(rect.x - camera->x);
    const int sy = wrap16(rect.y - camera->y);
    const int t = walkTime % period;
    const int spread = std::min(t, period - t) * vx;
    const int up = bobOffset(std::min(t, half));
    const int down = bobOffset(std::max(t, half));
    // First half of the cycle the front copy hops, second half the rear one.
    drawSurface(wrap16(sx + spread), wrap16(sy - up), image, screen, nullptr, 255);
    drawSurface(wrap16(sx - spread), wrap16(sy + down), image, screen, nullptr, 255);
}

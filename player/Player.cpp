#include "player/Player.h"

#include "level/Level.h"
#include "level/Tiles.h"
#include "media/Images.h"
#include "menus/Settings.h"
#include "shell/Particles.h"
#include "things/Bomb.h"
#include "media/Geometry.h"

int animTick = 0;
int animStep = 0;

namespace {

// Tuning values, each a multiple of the tile edge over 16 (pixels per frame).
constexpr double jumpFactor = 6.5;      // launch speed of a jump
constexpr double springFactor = 14.0;   // launch speed off a spring
constexpr float walkAccelFactor = 0.4f; // speed gained per frame of a held direction
constexpr float frictionFactor = 0.7f;  // speed lost per frame on the ground
constexpr float gravityFactor = 0.7f;   // fall speed gained per frame
constexpr double maxRunFactor = 9.0;    // top walking speed
constexpr double maxFallFactor = 12.0;  // top vertical speed, both ways
constexpr int factorBase = 16;          // the factors above are per 16 pixels of tile edge

constexpr int airJumpSparks = 4;            // sparks thrown by a jump in the air
constexpr Uint32 airJumpColour = 0xFF0000;  // 0xBBGGRR: pure blue
constexpr int animTicksPerStep = 3;         // drawn frames per walk frame
constexpr int walkFrames[4] = {0, 1, 0, 2}; // sheet column per animStep
constexpr int formColumns = 4;              // sheet columns per form

int signOf(float value) { return (value > 0.0f) - (value < 0.0f); }

}  // namespace

Player::Player(Level* owner)
    : Thing(),
      level(owner),
      jumpSpeed(static_cast<float>(tileSize * jumpFactor / factorBase)),
      springSpeed(static_cast<float>(tileSize * springFactor / factorBase)),
      walkAccel(tileSize * walkAccelFactor / factorBase),
      friction(tileSize * frictionFactor / factorBase),
      gravity(tileSize * gravityFactor / factorBase),
      maxRunSpeed(static_cast<float>(tileSize * maxRunFactor / factorBase)),
      maxFallSpeed(static_cast<float>(tileSize * maxFallFactor / factorBase)) {
    // A level without a start cell leaves the Player here.
    rect.x = respawnX;
    rect.y = respawnY;
    image = loadTileImage("us");
    loadSounds();
}

Player::~Player() {
    freeSounds();
    if (livesText) SDL_FreeSurface(livesText);
    if (formText) SDL_FreeSurface(formText);
    if (statusText) SDL_FreeSurface(statusText);
}

void Player::handleEvent(const SDL_Event& event) {
    if (event.type != SDL_KEYDOWN) return;
    const int key = event.key.keysym.sym;
    // One key bound to several actions does only the first of them.
    if (key == getUserKey(KeyJump)) {
        if (grounded) {
            if (status == StatusRubber) {
                vy = -jumpSpeed * 2;
                playSound(SoundHighJump);
            } else {
                vy = -jumpSpeed;
                playSound(SoundJump);
            }
            grounded = false;
        } else if (status != StatusNormal) {
            for (int i = 0; i < airJumpSparks; ++i) {
                spawnParticle(rect.x, rect.y, particleColour(airJumpColour));
            }
            status = StatusNormal;
            vy = -jumpSpeed;
            playSound(SoundJump);
        }
    } else if (key == getUserKey(KeyQueryHint)) {
        flags[HintRequest] = true;
    } else if (key == getUserKey(KeyLayBomb)) {
        layBomb();
    }
}

void Player::layBomb() {
    if (bombs <= 0) return;
    --bombs;
    Bomb* bomb = new Bomb(rect.x, rect.y);
    bomb->addListener(level);
    bomb->addListener(this);
    level->addThing(bomb);
}

void Player::update(Grid& grid, const ThingList& things) {
    int keyCount = 0;
    const Uint8* keyState = SDL_GetKeyState(&keyCount);
    const auto held = [&](int action) {
        const int key = getUserKey(action);
        return key >= 0 && key < keyCount && keyState[key] != 0;
    };

    // A key counts only while the speed in its direction is below the limit.
    int input = 0;
    if (held(KeyLeft) && vx > -maxRunSpeed) {
        vx -= walkAccel;
        input = -1;
    } else if (held(KeyRight) && vx < maxRunSpeed) {
        vx += walkAccel;
        input = 1;
    }

    vy += gravity;

    const int sign = signOf(vx);
    if (sign != 0 && input != sign && grounded) {
        vx -= friction * sign;
        if (sign * vx < 0) vx = 0;
    }

    if (vx > maxRunSpeed) vx = maxRunSpeed;
    if (vx < -maxRunSpeed) vx = -maxRunSpeed;
    if (vy > maxFallSpeed) vy = maxFallSpeed;
    if (vy < -maxFallSpeed) vy = -maxFallSpeed;

    if (vy != 0) moveAxis(grid, things, true);
    if (vx != 0) moveAxis(grid, things, false);

    // Lets objects see where the Player ended up; their answers no longer matter.
    for (size_t i = 0; i < things.size(); ++i) {
        Thing* thing = things[i];
        if (!thing->isDead() && overlaps(*thing->getRect(), rect)) thing->touch(this);
    }
}

void Player::moveAxis(Grid& grid, const ThingList& things, bool vertical) {
    float& speed = vertical ? vy : vx;
    Sint16& position = vertical ? rect.y : rect.x;
    const int d = speed > 0 ? 1 : -1;
    const int dx = vertical ? 0 : d;
    const int dy = vertical ? d : 0;
    int n = 0;
    do {
        position = wrap16(position + d);
        if (blockedByGrid(grid, dx, dy)) {
            position = wrap16(position - d);
            speed = 0;
            if (vertical && d > 0) land();
            return;
        }
        if (!touchThings(things)) {
            position = wrap16(position - d);
            return;
        }
        touchCells(grid, dx, dy);
        ++n;
        // Tiles and Things may have changed the speed during this step.
    } while (d * speed > n);
}

bool Player::touchThings(const ThingList& things) {
    for (size_t i = 0; i < things.size(); ++i) {
        Thing* thing = things[i];
        if (thing->isDead() || !overlaps(*thing->getRect(), rect)) continue;
        const int result = thing->touch(this);
        if (result == TouchSolid) return false;
        if (result == TouchCollected) {
            ++lives;
            playSound(SoundLife);
        }
    }
    return true;
}

void Player::touchCells(Grid& grid, int dx, int dy) {
    const int t = tileSize;
    const int columns = static_cast<int>(grid.size());
    for (int c = rect.x / t; c <= (rect.x + t - 1) / t; ++c) {
        if (c < 0 || c >= columns) continue;
        const int rows = static_cast<int>(grid[c].size());
        for (int r = rect.y / t; r <= (rect.y + t - 1) / t; ++r) {
            if (r < 0 || r >= rows) continue;
            touchTile(grid, grid[c][r], c, r, dx, dy);
        }
    }
}

bool Player::blockedByGrid(const Grid& grid, int dx, int dy) const {
    const int t = tileSize;
    const int columns = static_cast<int>(grid.size());
    const int left = rect.x;
    const int top = rect.y;
    for (int c = left / t; c <= (left + t - 1) / t; ++c) {
        if (c < 0 || c >= columns) continue;
        const int rows = static_cast<int>(grid[c].size());
        for (int r = top / t; r <= (top + t - 1) / t; ++r) {
            if (r < 0 || r >= rows) continue;
            switch (tileInfo(grid[c][r]).playerBlock) {
            case PlayerBlock::Solid:
                return true;
            case PlayerBlock::Sides:
                if (dx != 0 && (left + t - 1 == c * t || left == c * t + t - 1)) return true;
                break;
            case PlayerBlock::FromTop:
                if (dy > 0 && top + t - 1 == r * t) return true;
                break;
            case PlayerBlock::Open:
                break;
            }
        }
    }
    return false;
}

void Player::land() {
    if (!grounded) {
        playSound(status == StatusRubber || form == FormCurdo ? SoundSplat : SoundLand);
    }
    grounded = true;
}

void Player::draw(SDL_Surface* screen, const SDL_Rect* camera) {
    int frame = 0;
    if (vy < 0) {
        animStep = 2;
    } else if (vx == 0) {
        animStep = 0;
    } else {
        animTick = (animTick + 1) % animTicksPerStep;
        if (animTick == 0) animStep = (animStep + 1) % 4;
        frame = walkFrames[animStep];
    }
    const int t = tileSize;
    SDL_Rect source;
    source.x = wrap16((frame + formColumns * form) * t);
    source.y = wrap16(status * t);
    source.w = static_cast<Uint16>(t);
    source.h = static_cast<Uint16>(t);
    drawSurface(wrap16(rect.x - camera->x), wrap16(rect.y - camera->y), image, screen, &source,
                255);
}

void Player::setStart(int x, int y) {
    rect.x = wrap16(x);
    rect.y = wrap16(y);
    respawnX = rect.x;
    respawnY = rect.y;
    flags[LevelDone] = false;
}

void Player::setPosition(int x, int y) {
    rect.x = wrap16(x);
    rect.y = wrap16(y);
}

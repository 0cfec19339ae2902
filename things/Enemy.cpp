#include "things/Enemy.h"

#include "level/Tiles.h"
#include "media/Images.h"
#include "menus/Settings.h"
#include "player/Player.h"
#include "shell/Clock.h"
#include "media/Geometry.h"

namespace {
constexpr int stripFrames = 4;  // frames in every enemy strip
constexpr Uint32 sharedTickMs = 500;  // one step of every shared enemy clock
}  // namespace

Enemy::Enemy(int col, int row) : Thing(col, row) {
    for (int i = 0; i < stripFrames; ++i) frames[i] = frameRect(i);
}

void Enemy::update(const Grid&, const ThingList&) {}

void Enemy::draw(SDL_Surface* screen, const SDL_Rect* camera) {
    SDL_Rect source = frames[frame];
    drawSurface(wrap16(rect.x - camera->x), wrap16(rect.y - camera->y), image, screen, &source,
                255);
}

int Enemy::touch(Player* player) {
    if (isVulnerable(player->getStatus(), player->getForm())) {
        kill();
        player->playCough();
    } else {
        player->die();
    }
    return TouchNothing;
}

bool Enemy::blocked(const Grid& grid) const { return blockedBox(grid, tileSize, tileSize); }

void Enemy::kill() { dead = true; }

bool Enemy::isVulnerable(int status, int form) const {
    return status == StatusFrench || (status == StatusGerman && form == FormCurdo);
}

bool SharedClock::tick() {
    if (!started) {
        deadline = clockTicks();
        started = true;
    }
    if (clockTicks() <= deadline) return false;
    deadline += sharedTickMs;
    return true;
}

void SharedClock::reset() {
    started = false;
    deadline = 0;
}

bool Enemy::blockedBox(const Grid& grid, int boxWidth, int boxHeight) const {
    const int t = tileSize;
    const int x = rect.x;
    const int y = rect.y;
    // C division truncates toward zero, so a box up to a tile left of (or
    // above) the grid still counts as starting in column (row) 0.
    const int firstCol = x / t;
    const int lastCol = (x + boxWidth - 1) / t;
    const int firstRow = y / t;
    const int lastRow = (y + boxHeight - 1) / t;
    const int width = static_cast<int>(grid.size());
    if (firstCol < 0 || firstCol >= width) return false;
    for (int col = firstCol; col <= lastCol && col < width; ++col) {
        const std::vector<int>& column = grid[col];
        const int height = static_cast<int>(column.size());
        if (firstRow < 0 || firstRow >= height) continue;
        for (int row = firstRow; row <= lastRow && row < height; ++row) {
            if (tileInfo(column[row]).stopsEnemies) return true;
        }
    }
    return false;
}

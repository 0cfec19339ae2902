#include "level/Level.h"

#include "level/Tiles.h"
#include "media/Images.h"

#include <iostream>

SDL_Rect camera = {0, 0, 0, 0};
SDL_Surface* background = nullptr;

// The Player is a member, so it is built (image and sounds loaded) before the
// path is made and the tiles load.
Level::Level(int number, SDL_Surface* s) : levelNumber(number), screen(s), player(this) {
    makePath();
    std::cout << "Loading tiles...\n";
    for (const TileInfo& tile : tileTable) {
        if (*tile.image) tileImages[tile.value] = loadTileImage(tile.image);
    }
}

// The background and the music outlive the Level: the next load and the next
// advance release them.
Level::~Level() {
    for (Thing* thing : things) delete thing;
    for (SDL_Surface*& slot : tileImages) {
        if (slot) SDL_FreeSurface(slot);
        slot = nullptr;
    }
}

bool Level::isGameOver() const { return player.isGameOver(); }

void Level::handleEvent(const SDL_Event& event) { player.handleEvent(event); }

void Level::clearCell(int x, int y) {
    if (grid[x][y] <= lastTileValue) grid[x][y] = TileEmpty;
}

void Level::addThing(Thing* thing) { things.push_back(thing); }

void Level::addShake(int n) { shake += n; }

SDL_Surface* Level::getTileImage(int value) const {
    return value >= 0 && value < tileSlotCount ? tileImages[value] : nullptr;
}

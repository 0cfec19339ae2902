#include "level/Level.h"

SDL_Rect camera = {0, 0, 0, 0};
SDL_Surface* background = nullptr;

Level::Level(int number, SDL_Surface* s) : levelNumber(number), screen(s), player(this) {}

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
    if (grid[x][y] <= 26) grid[x][y] = 0;
}

void Level::addThing(Thing* thing) { things.push_back(thing); }

void Level::addShake(int n) { shake += n; }

SDL_Surface* Level::getTileImage(int value) const {
    return value >= 0 && value < tileSlotCount ? tileImages[value] : nullptr;
}

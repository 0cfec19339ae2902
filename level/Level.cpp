#include "level/Level.h"

#include "media/Images.h"

#include <iostream>

SDL_Rect camera = {0, 0, 0, 0};
SDL_Surface* background = nullptr;

namespace {

// The tile set: which image each cell value shows, in the order they load.
struct TileImageName {
    int value;
    const char* name;
};

constexpr TileImageName tileImageNames[] = {
    {1, "wall"},        {2, "spikes"},      {3, "spring"},      {5, "caflady"},
    {6, "key"},         {7, "goal"},        {8, "shades"},      {9, "pierre"},
    {12, "stalag"},     {13, "iwall"},      {16, "bomb"},       {17, "cwall"},
    {18, "ahmed"},      {19, "hans"},       {20, "alphorn"},    {11, "toggletime"},
    {15, "flame"},      {10, "platform"},   {21, "fwall"},      {24, "goto"},
    {25, "curdotree"},  {26, "curdotree_sprouted"},
};

}  // namespace

// The Player is a member, so it is built (image and sounds loaded) before the
// path is made and the tiles load.
Level::Level(int number, SDL_Surface* s) : levelNumber(number), screen(s), player(this) {
    width = 0;
    height = 0;
    shake = 0;
    seeHidden = false;
    makePath();
    std::cout << "Loading tiles...\n";
    for (SDL_Surface*& slot : tileImages) slot = nullptr;
    for (const TileImageName& tile : tileImageNames) {
        tileImages[tile.value] = loadTileImage(tile.name);
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
    if (grid[x][y] <= 26) grid[x][y] = 0;
}

void Level::addThing(Thing* thing) { things.push_back(thing); }

void Level::addShake(int n) { shake += n; }

SDL_Surface* Level::getTileImage(int value) const {
    return value >= 0 && value < tileSlotCount ? tileImages[value] : nullptr;
}

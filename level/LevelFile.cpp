#include "level/Level.h"

#include "level/Tiles.h"
#include "media/Images.h"
#include "menus/Settings.h"
#include "things/Blobber.h"
#include "media/Geometry.h"
#include "things/Hint.h"
#include "things/Maimframe.h"
#include "things/ThingFactory.h"

#include <fstream>
#include <iostream>
#include <sstream>

void Level::makePath() {
    path = "data/levels/level";
    if (levelNumber >= 0 && levelNumber < 100) {
        path += static_cast<char>('0' + levelNumber / 10);
        path += static_cast<char>('0' + levelNumber % 10);
    } else {
        path += std::to_string(levelNumber);
    }
    path += ".lvl";
    std::cout << path << "\n";
}

bool Level::load(const std::string& p) {
    loadFailure = LoadFailure();
    if (!p.empty()) path = p;
    std::cout << "Loading " << path;

    for (Thing* thing : things) {
        if (thing) delete thing;
        std::cout << ".";
    }
    things.clear();

    if (background) SDL_FreeSurface(background);
    background = loadNumberedBackground(levelNumber);
    std::cout << "\n";

    look.clear();
    std::ifstream in(path);
    if (!in) {
        std::cout << "Could not load " << path << ".\n";
        loadFailure.kind = LoadFailure::CannotOpen;
        applyLook();
        return false;
    }
    const bool parsed = parse(in, &std::cout);
    applyLook();
    if (parsed) {
        seeHidden = false;
        return true;
    }
    loadFailure = getFailure();
    switch (loadFailure.kind) {
    case LoadFailure::BadWidth:
    case LoadFailure::BadHeight:
        if (in.eof()) {
            std::cerr << "Reached end of input.\n";
        } else {
            std::cerr << "Invalid .lvl! " << path << ": the size is not a number\n";
        }
        break;
    case LoadFailure::RefusedSize:
        std::cerr << path << ": refused level size " << getFileWidth() << " x "
                  << getFileHeight() << "\n";
        break;
    case LoadFailure::BadCell:
        std::cerr << "Invalid .lvl! " << path << " at column " << loadFailure.column << ", row "
                  << loadFailure.row << "\n";
        break;
    default:
        std::cerr << "Reached end of input.\n";
        break;
    }
    return false;
}

void Level::beginGrid(int w, int h) {
    width = w;
    height = h;
    grid.resize(static_cast<size_t>(width));
    for (std::vector<int>& column : grid) column.resize(static_cast<size_t>(height), 0);
}

void Level::readCell(std::istream& in, int v, int x, int y) {
    grid[x][y] = v;
    if (!in) return;

    if (v > lastTileValue) {
        Thing* thing = createThing(v, x, y);
        if (!thing) return;
        in >> *thing;
        things.push_back(thing);
        switch (v) {
        case KindHint: static_cast<Hint*>(thing)->setScreen(screen); break;
        case KindBlobber: static_cast<Blobber*>(thing)->setTarget(player.getRect()); break;
        case KindMaimframe: static_cast<Maimframe*>(thing)->setLevel(this); break;
        default: break;
        }
        // A failed read of the object's parameters stays on the stream for the parser.
        if (in.fail()) return;
    }
    if (v == TileStart) player.setStart(cellToPixel(x, tileSize), cellToPixel(y, tileSize));
}

void Level::endGrid(const std::string& nameLine, std::istream& rest) {
    name = underscoresToSpaces(nameLine);
    std::cout << "Name: " << name << "\n";
    // Lines after the name are the game's only where one names a look.
    std::string line;
    while (std::getline(rest, line)) {
        std::istringstream words(line);
        std::string first;
        std::string second;
        if (!(words >> first >> second) || first != "look") continue;
        if (isLookName(second)) {
            look = second;
            std::cout << "Look: " << look << "\n";
        } else {
            std::cout << "Look " << second << " is not a look's name; the default images stay\n";
        }
        break;
    }
    std::cout << "Loading objects...\n";
    std::cout << "Objects loaded.\n";
}

void Level::applyLook() {
    if (look != tilesLook) {
        for (const TileInfo& tile : tileTable) {
            if (!*tile.image) continue;
            SDL_Surface*& slot = tileImages[tile.value];
            if (slot) SDL_FreeSurface(slot);
            slot = loadLookImage(look, tile.image);
        }
        tilesLook = look;
    }
    if (look.empty()) return;
    // A look without a background of its own keeps the one of the level's number.
    if (SDL_Surface* own = loadLookBackground(look)) {
        if (background) SDL_FreeSurface(background);
        background = own;
    }
}

SDL_Surface* loadNumberedBackground(int levelNumber) {
    // Levels 1 and 11 share a background; the menu level has none.
    if (levelNumber == 0) return nullptr;
    return loadTileImage(std::string("../bg0") + static_cast<char>('0' + levelNumber % 10));
}

std::string underscoresToSpaces(std::string text) {
    for (char& c : text) {
        if (c == '_') c = ' ';
    }
    return text;
}

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

namespace {


// Skips the one separator character between two sizes or after a column. A
// '\r' right before a line end belongs to it, so files with Windows line ends
// read as if they had plain ones.
void skipSeparator(std::istream& in) {
    if (in.get() == '\r' && in.peek() == '\n') in.get();
}

}  // namespace

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

bool Level::fail(LoadFailure::Kind kind, int column, int row) {
    loadFailure.kind = kind;
    loadFailure.column = column;
    loadFailure.row = row;
    return false;
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
    background = nullptr;
    // Levels 1 and 11 share a background; the menu level has none.
    if (levelNumber != 0) {
        background = loadTileImage(std::string("../bg0") +
                                   static_cast<char>('0' + levelNumber % 10));
    }
    std::cout << "\n";

    std::ifstream in(path);
    if (!in) {
        std::cout << "Could not load " << path << ".\n";
        return fail(LoadFailure::CannotOpen);
    }

    int w = 0;
    int h = 0;
    in >> w;
    const bool widthRead = static_cast<bool>(in);
    if (widthRead) {
        std::cout << "Width: " << w;
        skipSeparator(in);
        in >> h;
    }
    if (!in) {
        if (in.eof()) {
            std::cerr << "Reached end of input.\n";
        } else {
            std::cerr << "Invalid .lvl! " << path << ": the size is not a number\n";
        }
        return fail(widthRead ? LoadFailure::BadHeight : LoadFailure::BadWidth);
    }
    std::cout << "\nHeight: " << h;
    if (w < 0 || h < 0 || w > maxLevelCells ||
        static_cast<long long>(w) * h > maxLevelCells) {
        std::cerr << path << ": refused level size " << w << " x " << h << "\n";
        return fail(LoadFailure::RefusedSize);
    }
    std::cout << "\nLoading grid...\n";

    width = w;
    height = h;
    grid.resize(static_cast<size_t>(width));
    for (std::vector<int>& column : grid) column.resize(static_cast<size_t>(height), 0);

    for (int x = 0; x < width; ++x) {
        for (int y = 0; y < height; ++y) {
            const CellRead read = readCell(in, x, y);
            if (in.eof()) {
                std::cerr << "Reached end of input.\n";
                return fail(read == CellRead::NoValue ? LoadFailure::EndInGrid
                                                      : LoadFailure::EndAfterCell,
                            x, y);
            }
            if (read != CellRead::Ok) {
                std::cerr << "Invalid .lvl! " << path << " at column " << x << ", row " << y
                          << "\n";
                return fail(LoadFailure::BadCell, x, y);
            }
        }
        skipSeparator(in);
    }
    std::cout << "Grid loaded.\n";

    std::string line;
    std::getline(in, line);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    name = underscoresToSpaces(line);
    std::cout << "Name: " << name << "\n";
    std::cout << "Loading objects...\n";
    in.close();
    std::cout << "Objects loaded.\n";
    seeHidden = false;
    return true;
}

Level::CellRead Level::readCell(std::istream& in, int x, int y) {
    int v = 0;
    in >> v;
    grid[x][y] = v;
    if (!in) return CellRead::NoValue;

    if (v > lastTileValue) {
        Thing* thing = createThing(v, x, y);
        if (!thing) return CellRead::Ok;
        in >> *thing;
        things.push_back(thing);
        switch (v) {
        case KindHint: static_cast<Hint*>(thing)->setScreen(screen); break;
        case KindBlobber: static_cast<Blobber*>(thing)->setTarget(player.getRect()); break;
        case KindMaimframe: static_cast<Maimframe*>(thing)->setLevel(this); break;
        default: break;
        }
        if (in.fail()) return CellRead::BadParameters;
    }
    if (v == TileStart) player.setStart(cellToPixel(x, tileSize), cellToPixel(y, tileSize));
    return CellRead::Ok;
}

std::string underscoresToSpaces(std::string text) {
    for (char& c : text) {
        if (c == '_') c = ' ';
    }
    return text;
}

// Feeds arbitrary bytes to the level loader as a level file: the whole path
// of the game, objects and their parameters included, then one step and one
// frame of drawing on what was loaded. The same file is then loaded and
// stepped once more at the largest tile size the preferences allow, where
// cell numbers times the tile size leave the int range soonest.
#include "fuzz/FuzzSupport.h"
#include "level/Level.h"
#include "menus/Settings.h"

#include <SDL.h>

#include <cstddef>
#include <cstdint>

namespace {
constexpr int smallTileSize = 16;
constexpr int largestTileSize = 819;  // 20 tiles still make a window SDL opens
}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    startFuzzWorld();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    writeFuzzFile("data/levels/level01.lvl", data, size);
    tileSize = smallTileSize;
    {
        Level level(1, SDL_GetVideoSurface());
        if (level.load("")) {
            level.step();
            level.draw();
        }
    }
    tileSize = largestTileSize;
    Level large(1, SDL_GetVideoSurface());
    large.load("");
    large.step();
    return 0;
}

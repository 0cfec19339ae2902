// Feeds arbitrary bytes to the level loader as a level file: the whole path
// of the game, objects and their parameters included, then one step and one
// frame of drawing on what was loaded. The same file is then loaded and
// stepped once more at the largest tile size the preferences allow, where
// cell numbers times the tile size leave the int range soonest. The level
// checker must accept or refuse the file exactly as the game did.
#include "fuzz/FuzzSupport.h"
#include "level/Level.h"
#include "tools/common/LevelCheck.h"
#include "menus/Settings.h"

#include <SDL.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

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
    bool loaded = false;
    {
        Level level(1, SDL_GetVideoSurface());
        loaded = level.load("");
        if (loaded) {
            level.step();
            level.draw();
        }
    }
    // The checker reads through the game's loader: its verdict must be the game's.
    if (checkLevelFile("data/levels/level01.lvl").loaded != loaded) std::abort();
    tileSize = largestTileSize;
    Level large(1, SDL_GetVideoSurface());
    large.load("");
    large.step();
    return 0;
}

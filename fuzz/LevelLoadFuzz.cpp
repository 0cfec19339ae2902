// Feeds arbitrary bytes to the level loader as a level file: the whole path
// of the game, objects and their parameters included, then one step and one
// frame of drawing on what was loaded.
#include "fuzz/FuzzSupport.h"
#include "level/Level.h"
#include "menus/Settings.h"

#include <SDL.h>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    startFuzzWorld();
    tileSize = 16;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    writeFuzzFile("data/levels/level01.lvl", data, size);
    Level level(1, SDL_GetVideoSurface());
    if (level.load("")) {
        level.step();
        level.draw();
    }
    return 0;
}

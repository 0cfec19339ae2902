// Feeds arbitrary bytes to the preferences reader, then checks that whatever
// it accepted can be written and read back to the same settings.
#include "fuzz/FuzzSupport.h"
#include "menus/Settings.h"

#include <SDL.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    startFuzzWorld();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    resetSettings();
    writeFuzzFile(prefsPath, data, size);
    readPreferences();
    // The game must always be able to open its window with what it read.
    if (tileSize <= 0 || 20 * tileSize > 16383) std::abort();
    for (int key : userKeys)
        if (key < 0 || key >= SDLK_LAST) std::abort();

    const bool music = musicOn;
    const int storedTileSize = tileSize;
    const int reserved = reservedSetting;
    int keys[userKeyCount];
    for (int i = 0; i < userKeyCount; ++i) keys[i] = userKeys[i];
    writePreferences();
    resetSettings();
    readPreferences();
    if (music != musicOn || storedTileSize != tileSize || reserved != reservedSetting) std::abort();
    for (int i = 0; i < userKeyCount; ++i)
        if (keys[i] != userKeys[i]) std::abort();
    return 0;
}

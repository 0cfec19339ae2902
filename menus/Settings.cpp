#include "menus/Settings.h"

#include <SDL.h>

#include <fstream>
#include <iostream>

namespace {
constexpr bool defaultMusicOn = true;   // a fresh install plays its music
constexpr int defaultReservedSetting = 0;
constexpr int largestWindowEdge = 16383;   // SDL 1.2 refuses a window wider than this

// A tile size the window can be made with: 20 tiles across must fit what SDL opens.
bool isUsableTileSize(int size) {
    return size > 0 && size <= largestWindowEdge / windowColumns;
}

// A code SDL 1.2 can hold in its keyboard state; 0 means unbound.
bool isUsableKeyCode(int code) {
    return code >= 0 && code < SDLK_LAST;
}
}  // namespace

bool musicOn = defaultMusicOn;
int tileSize = defaultTileSize;
int reservedSetting = defaultReservedSetting;
const int defaultUserKeys[userKeyCount] = {SDLK_KP4, SDLK_a, SDLK_d, SDLK_q, SDLK_e, SDLK_s};
int userKeys[userKeyCount] = {SDLK_KP4, SDLK_a, SDLK_d, SDLK_q, SDLK_e, SDLK_s};
const char* const prefsPath = "data/preferences/prefs.cdv";
const char* const userKeyCaptions[userKeyCount] = {"Jump",       "Left",     "Right",
                                                   "Query Hint", "Lay Bomb", "Explode All"};

void readPreferences() {
    std::ifstream in(prefsPath);
    if (!in) {
        std::cout << "No prefs file found" << std::endl;
        return;
    }
    std::cout << "Reading prefs from " << prefsPath << std::endl;

    // No checks between the reads: once one fails the stream stays failed and
    // every later target keeps what it holds, as a short file needs.
    in >> musicOn;
    in >> tileSize;
    in >> reservedSetting;

    // One temporary for all six codes: a line with fewer codes repeats the
    // last one read, and a file without the line leaves every key at 0.
    int code = 0;
    for (int i = 0; i < userKeyCount; ++i) {
        in >> code;
        if (isUsableKeyCode(code)) {
            userKeys[i] = code;
        } else {
            std::cerr << "Key code " << code << " for " << userKeyCaptions[i]
                      << " is not a key; keeping " << defaultUserKeys[i] << std::endl;
            userKeys[i] = defaultUserKeys[i];
        }
    }
    in.close();

    if (!isUsableTileSize(tileSize)) {
        std::cerr << "Tile size " << tileSize << " cannot make a window; using "
                  << defaultTileSize << std::endl;
        tileSize = defaultTileSize;
    }
}

void writePreferences() {
    std::ofstream out(prefsPath, std::ios::out | std::ios::trunc);
    if (!out) return;
    out << (musicOn ? 1 : 0) << '\n' << tileSize << '\n' << reservedSetting << '\n';
    for (int i = 0; i < userKeyCount; ++i) out << userKeys[i] << ' ';
    out << '\n';
}

int getUserKey(int index) {
    if (index >= 0 && index < userKeyCount) return userKeys[index];
    std::cerr << index << " not a valid UserKey!" << std::endl;
    return SDLK_UNKNOWN;
}

void resetSettings() {
    musicOn = defaultMusicOn;
    tileSize = defaultTileSize;
    reservedSetting = defaultReservedSetting;
    for (int i = 0; i < userKeyCount; ++i) userKeys[i] = defaultUserKeys[i];
}

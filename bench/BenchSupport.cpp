#include "bench/BenchSupport.h"

#include "menus/Settings.h"
#include "shell/Clock.h"
#include "shell/Frame.h"
#include "shell/Game.h"
#include "shell/Particles.h"
#include "things/Blobber.h"
#include "things/Chomper.h"
#include "things/Flapper.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <dirent.h>
#include <iostream>
#include <streambuf>

namespace {
const char* const levelFolder = "data/levels";
const char* const levelExtension = ".lvl";

// A stream buffer that takes everything and keeps nothing.
class NullBuffer : public std::streambuf {
protected:
    int overflow(int c) override { return traits_type::not_eof(c); }
    std::streamsize xsputn(const char*, std::streamsize n) override { return n; }
};
NullBuffer nowhere;

bool endsWith(const std::string& text, const std::string& tail) {
    return text.size() >= tail.size() &&
           text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

// "levelNN" gives NN; anything else (the menu level) 0.
int numberOfLevel(const std::string& name) {
    const std::string prefix = "level";
    if (name.compare(0, prefix.size(), prefix) != 0) return 0;
    const std::string digits = name.substr(prefix.size());
    if (digits.empty() || !std::all_of(digits.begin(), digits.end(), ::isdigit)) return 0;
    return std::stoi(digits);
}

// Width times height from the first line of a level file, 0 when unreadable.
long cellsOf(const std::string& path) {
    FILE* file = std::fopen(path.c_str(), "r");
    if (!file) return 0;
    long w = 0;
    long h = 0;
    const int read = std::fscanf(file, "%ld %ld", &w, &h);
    std::fclose(file);
    return read == 2 ? w * h : 0;
}

long fileSize(const std::string& path) {
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return 0;
    std::fseek(file, 0, SEEK_END);
    const long size = std::ftell(file);
    std::fclose(file);
    return size;
}
}  // namespace

QuietOutput::QuietOutput() : out(std::cout.rdbuf(&nowhere)), err(std::cerr.rdbuf(&nowhere)) {}

QuietOutput::~QuietOutput() {
    std::cout.rdbuf(out);
    std::cerr.rdbuf(err);
}

SDL_Surface* useTileSize(int size) {
    tileSize = size;
    SDL_Surface* screen = SDL_GetVideoSurface();
    const int w = windowColumns * size;
    const int h = windowRows * size;
    if (screen && screen->w == w && screen->h == h) return screen;
    return SDL_SetVideoMode(w, h, 32, 0);
}

std::vector<ShippedLevel> shippedLevels() {
    std::vector<ShippedLevel> levels;
    DIR* folder = opendir(levelFolder);
    if (!folder) return levels;
    while (const dirent* entry = readdir(folder)) {
        const std::string file = entry->d_name;
        if (!endsWith(file, levelExtension)) continue;
        ShippedLevel level;
        level.name = file.substr(0, file.size() - std::string(levelExtension).size());
        level.path = std::string(levelFolder) + "/" + file;
        level.number = numberOfLevel(level.name);
        level.cells = cellsOf(level.path);
        levels.push_back(level);
    }
    closedir(folder);
    std::sort(levels.begin(), levels.end(),
              [](const ShippedLevel& a, const ShippedLevel& b) { return a.name < b.name; });
    return levels;
}

ShippedLevel largestLevel() {
    ShippedLevel largest;
    long largestBytes = -1;
    for (const ShippedLevel& level : shippedLevels()) {
        const long bytes = fileSize(level.path);
        if (level.cells > largest.cells || (level.cells == largest.cells && bytes > largestBytes)) {
            largest = level;
            largestBytes = bytes;
        }
    }
    return largest;
}

void resetWorld() {
    clearParticles();
    resetChompClock();
    resetBlobClock();
    resetFlapClock();
    useManualClock(0);
    camera = SDL_Rect{0, 0, 0, 0};
    int keyCount = 0;
    Uint8* keys = SDL_GetKeyState(&keyCount);
    std::fill(keys, keys + keyCount, Uint8{0});
}

std::unique_ptr<Level> openLevel(const std::string& path, int number, SDL_Surface* screen) {
    QuietOutput quiet;
    std::unique_ptr<Level> level(new Level(number, screen));
    if (!level->load(path)) return nullptr;
    return level;
}

void holdAction(int action, bool down) {
    int keyCount = 0;
    Uint8* keys = SDL_GetKeyState(&keyCount);
    const int key = getUserKey(action);
    if (key >= 0 && key < keyCount) keys[key] = down ? 1 : 0;
}

void pressLayBomb(Level& level) {
    SDL_Event event{};
    event.type = SDL_KEYDOWN;
    event.key.type = SDL_KEYDOWN;
    event.key.state = SDL_PRESSED;
    event.key.keysym.sym = static_cast<SDLKey>(getUserKey(KeyLayBomb));
    level.handleEvent(event);
}

void playFrame(Level& level, SDL_Surface* screen) {
    Level* current = &level;
    playFrame(current, screen, nullptr);
}

#pragma once

// Pieces shared by the benchmarks: quiet game output, the window at a tile
// size, the shipped levels and a scripted player for frame-by-frame runs.

#include "level/Level.h"

#include <SDL.h>

#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

// Sends std::cout and std::cerr nowhere while it lives, so the game's
// progress lines neither flood the table nor cost terminal time.
class QuietOutput {
public:
    QuietOutput();
    ~QuietOutput();
    QuietOutput(const QuietOutput&) = delete;
    QuietOutput& operator=(const QuietOutput&) = delete;

private:
    std::streambuf* out;
    std::streambuf* err;
};

// Sets tileSize and a window of 20 by 15 tiles at that size; the screen.
SDL_Surface* useTileSize(int size);

struct ShippedLevel {
    std::string path;   // data/levels/<name>.lvl
    std::string name;   // file name without extension
    int number = 0;     // 0 for the menu level, NN for levelNN
    long cells = 0;     // width times height
};

// Every data/levels/*.lvl, sorted by name; read afresh at each call.
std::vector<ShippedLevel> shippedLevels();

// The level with the most cells (the bigger file on a tie).
ShippedLevel largestLevel();

// Puts shared state back to a fresh start: camera, sparks, enemy clocks,
// keys, and the driven clock at 0.
void resetWorld();

// A Level built and loaded quietly; null when the file does not load.
std::unique_ptr<Level> openLevel(const std::string& path, int number, SDL_Surface* screen);

// Holds or lets go the key bound to a user action in SDL's keyboard state.
void holdAction(int action, bool down);

// Presses the Lay Bomb key through the level's event handling.
void pressLayBomb(Level& level);

// The game's frame on the driven clock, for a Level held by reference.
void playFrame(Level& level, SDL_Surface* screen);

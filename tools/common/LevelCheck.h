#pragma once

#include "things/Thing.h"

#include <SDL.h>

#include <string>
#include <vector>

// What a level designer wants to hear about a level file before playing it.
struct LevelProblem {
    enum Severity { Error, Warning };
    Severity severity = Error;
    int column = -1;  // -1 when the problem has no cell
    int row = -1;
    std::string message;
};

// The outcome of reading a level file with the game's loader.
struct LevelCheck {
    bool opened = false;
    bool loaded = false;  // the game's loader read it whole
    int width = 0;
    int height = 0;
    Grid grid;                       // what the game's grid holds after loading
    std::string name;
    std::string look;                  // the world's look the file names, if any
    std::vector<std::string> allowed;  // warnings the file marks as intended ("no-goal")
    std::vector<LevelProblem> problems;

    int errorCount() const;
};

// Reads one level file with the game's loader (SDL's video must be started,
// as the loader converts images to the display format) and checks what was
// loaded. Image files are looked up under data/images/16 and data/images/32
// of the working directory.
LevelCheck checkLevelFile(const std::string& path);

// The level's solving run at tile size 32, if one is kept: NAME-32.replay
// beside the level (a pack), or, for a level under data/levels of the
// working folder `here`, tests/replays/NAME-32.replay there. Empty if none.
std::string solvingReplayFor(const std::string& levelPath, const std::string& here);

// Warns of every jump of the solving run whose landing is out of view when
// it must start ("blind jump at COLUMN,ROW"), unless a sign stands near the
// take-off to say what lies ahead. `screen` is a headless screen at 32.
void checkBlindJumps(LevelCheck& check, const std::string& replayPath, SDL_Surface* screen);

// "FILE:col:row: error: message" (or "FILE: warning: message" without a cell).
std::string formatProblem(const std::string& path, const LevelProblem& problem);

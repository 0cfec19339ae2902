#pragma once

#include "things/Thing.h"

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

// "FILE:col:row: error: message" (or "FILE: warning: message" without a cell).
std::string formatProblem(const std::string& path, const LevelProblem& problem);

#pragma once

#include "tools/common/LevelCheck.h"

#include <string>
#include <vector>

// A level pack: a folder of level01.lvl, level02.lvl, ... that the launcher
// plays in order, with its own menu.lvl or the game's.
struct LevelPack {
    std::vector<std::string> levels;     // file names in the order they are played
    bool ownMenu = false;                // menu.lvl is in the folder
    std::vector<LevelProblem> problems;  // about the pack as a whole, never a cell
};

// What the game would play from a folder holding these file names: the
// numbers from level01 up without a gap. Other files are left out, and a
// level file the game never asks for is a warning.
LevelPack readLevelPack(const std::vector<std::string>& names);

// The same for a folder on disk; one that cannot be read is an error.
LevelPack readLevelPackFolder(const std::string& folder);

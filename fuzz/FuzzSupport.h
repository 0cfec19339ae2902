#pragma once

#include <string>

// Starts SDL on its dummy drivers with a small window, moves into a scratch
// working directory holding data/levels and data/preferences. (The game's
// progress lines are silenced by running with -close_fd_mask=3.)
void startFuzzWorld();

// Writes bytes to a file below the scratch directory.
void writeFuzzFile(const std::string& relative, const unsigned char* data, unsigned long size);

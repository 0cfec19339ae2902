#pragma once

// One level checked from start to verdict, in the process that runs it.

#include <SDL.h>

#include <string>

namespace softlock {

// The level file's name without folder and extension.
std::string baseName(const std::string& path);

// Checks one level in this process; its exit status.
int checkLevel(const std::string& path, SDL_Surface* screen);

}  // namespace softlock

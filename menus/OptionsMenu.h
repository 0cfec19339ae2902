#pragma once

#include <SDL.h>

// Music on or off and the tile size; runs until a key or a window close.
// Writes the preferences on leaving. 1 when the window was closed, else 0.
int runOptionsMenu(SDL_Surface* screen);

#pragma once

#include <SDL.h>

// Shows the six key bindings and rebinds one per click and key press.
// Runs until a key or a window close; always 0.
int runControlsMenu(SDL_Surface* screen);

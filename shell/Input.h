#pragma once

#include <SDL.h>

// The input devices: the one source of events for every loop of the game
// (play, the menus, a sign's box). The window's own keys are handled here
// before any loop sees them.

// SDL_PollEvent, less what the display uses up (F11), with mouse positions
// in picture pixels.
bool pollInput(SDL_Event* event);

#pragma once

#include <SDL.h>

#include <string>

// Veils the screen in translucent white, writes text across its lower half
// and waits for a key, a click or a window close, which it consumes.
void showMessage(const std::string& text, SDL_Surface* screen);

// Forgets the cached veil, so the next box is made at the current screen size.
void releaseMessageOverlay();

// The cached veil (null until the first message box).
SDL_Surface* messageOverlay();

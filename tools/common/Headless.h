#pragma once

#include "shell/Frame.h"
#include "tools/common/FrameInput.h"

#include <SDL.h>

// Running levels without a desktop, for the tools that drive the game frame
// by frame (replays, soak, search). The game itself never uses this.

// Starts SDL on its dummy video and audio drivers with SDL_image, SDL_ttf and
// the mixer, and opens a 20 by 15 tile screen. Null, with a line on standard
// error, when SDL cannot start.
SDL_Surface* startHeadless(int tileEdge);

// Closes what startHeadless opened, with the game's font cache, effects,
// sparks, message veil and music track.
void stopHeadless();

// Queues a key press, as the player's keyboard would.
void pressKey(int key);

// Holds a key down or lets it go in the keyboard state the game reads.
void holdKey(int key, bool down);

// A frame's input through the player's bound keys: the held keys first, then
// the presses, always in this order, so every tool that plays a run feeds
// the game alike. Closing a hint box (dismiss) is the caller's.
void giveInput(const FrameInput& input);
// Lets go of the held keys.
void releaseHeldKeys();

// The game's frame on the driven clock, with a key queued after the events:
// a hint box the step opens closes at once, and when none opens the key
// reaches the hero next frame and does nothing.
FrameOutcome playClosingHints(Level*& level, SDL_Surface* screen);

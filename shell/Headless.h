#pragma once

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

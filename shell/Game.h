#pragma once

#include <SDL.h>

// The program's spine: start-up, the outer loop of menu and game phases,
// frame pacing and shutdown.

extern const char* const startCaption;  // "Curdovar II: WTLRQPDMNSBKGHVXZCFJ"
constexpr Uint32 framePeriodMs = 33;    // a frame lasts at least this long

bool initSystems(const char* caption, SDL_Surface** screen, int width, int height,
                 int bitsPerPixel, Uint32 flags);

// The colour the screen is filled with before a level of this number is drawn.
SDL_Color backgroundColour(int levelNumber);

void fillScreen(SDL_Surface* screen, SDL_Color colour);

// Pauses the music when it plays, resumes it when it is paused.
void toggleMusic();

// Waits for the rest of the frame, then sets the next deadline.
void paceFrame(Uint32& frameDeadline);

// Start-up, the outer loop and shutdown; the result of the program.
int runGame();

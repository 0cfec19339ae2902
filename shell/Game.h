#pragma once

#include <SDL.h>

#include <functional>

class Level;

// The program's spine: start-up, the outer loop of menu and game phases,
// frame pacing and shutdown.

extern const char* const startCaption;  // "Curdovar II: WTLRQPDMNSBKGHVXZCFJ"
extern const char* const menuLevelPath; // "data/levels/menu.lvl"

bool initSystems(const char* caption, SDL_Surface** screen, int width, int height,
                 int bitsPerPixel, Uint32 flags);

// The colour the screen is filled with before a level of this number is drawn.
SDL_Color backgroundColour(int levelNumber);

void fillScreen(SDL_Surface* screen, SDL_Color colour);

// Pauses the music when it plays, resumes it when it is paused.
void toggleMusic();

// Runs once at the end of every drawn frame with the level in play, so tests
// and tools can script a run frame by frame (push events, raise flags, look
// at the window). An empty function removes it.
using FrameObserver = std::function<void(Level& level)>;
void setFrameObserver(FrameObserver observer);

// The outer loop on the open window: menu phase, game phase, clean-up, again,
// until the player quits.
void runMainLoop();

// Start-up, the outer loop and shutdown; the result of the program: 0, or 1
// when start-up failed.
int runGame();

#include "shell/Game.h"
const char* const startCaption = "Curdovar II: WTLRQPDMNSBKGHVXZCFJ";
bool initSystems(const char*, SDL_Surface**, int, int, int, Uint32) { return false; }
SDL_Color backgroundColour(int) { SDL_Color c = {0, 0, 0, 0}; return c; }
void fillScreen(SDL_Surface*, SDL_Color) {}
void toggleMusic() {}
void paceFrame(Uint32&) {}
int runGame() { return 0; }

#include "shell/Clock.h"
Uint32 clockTicks() { return SDL_GetTicks(); }
void clockDelay(Uint32 ms) { SDL_Delay(ms); }
void useManualClock(Uint32) {}
void useRealClock() {}
bool isManualClock() { return false; }
void advanceClock(Uint32) {}

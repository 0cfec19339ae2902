#pragma once

#include <SDL.h>

// The one time source of the game. Everything that depends on time (frame
// pacing, the enemies' shared clocks, the message box's wait) reads it, so
// tests and tools can drive the game frame by frame instead of by the wall
// clock.

constexpr Uint32 framePeriodMs = 33;  // a frame lasts at least this long

// Milliseconds since start: SDL_GetTicks, or the virtual clock when driven by hand.
Uint32 clockTicks();

// Waits ms milliseconds: SDL_Delay, or advances the virtual clock at once.
void clockDelay(Uint32 ms);

// Waits for the rest of the frame, then sets the next deadline.
void paceFrame(Uint32& frameDeadline);

// Stops the readings while the game is paused and hides the time the pause
// lasted, so nothing timed jumps forward on resume. Waits still pass.
void freezeClock();
void thawClock();
bool isClockFrozen();

// Game speed, in percent of full speed: at 50 the real clock's readings run
// at half speed and its waits last twice as long, so every frame keeps its
// rules and only stretches in time. The virtual clock is game time itself
// and does not stretch. 100 unless set; values outside 1 to 100 are 100.
void setClockSpeed(int percent);
int clockSpeed();

// Switches to a virtual clock that stands at `start` until advanced.
void useManualClock(Uint32 start = 0);

// Back to SDL_GetTicks and SDL_Delay.
void useRealClock();

bool isManualClock();

// Moves the virtual clock forward; no effect on the real clock.
void advanceClock(Uint32 ms);

// For tools that drive the clock by hand: calls onStall when code waits
// (clockDelay) longer than limitMs on the virtual clock without the clock
// being advanced in between, i.e. when something waits for input that will
// never come. A null onStall turns the guard off.
void setClockStallGuard(Uint32 limitMs, void (*onStall)());

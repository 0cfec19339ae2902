#pragma once

#include <SDL.h>

// The pause: play holds still over its last picture, with the clock stopped
// and the music paused, until P or the pad's pause button comes again.

// P while no action is bound to it, or the pad's pause button while no
// action is bound to that.
bool isPauseEvent(const SDL_Event& event);

enum class PauseEnd { Resume, Quit };

// Shows "Paused" over the picture and waits. Escape or a window close
// quits; F11 still switches full screen. The clock reads on resume what it
// read when the pause began, and music that played plays on.
PauseEnd runPause(SDL_Surface* picture);

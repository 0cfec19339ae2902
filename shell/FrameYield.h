#pragma once

// Hands control to whatever hosts the game for a moment, once a frame that
// did not sleep. Natively nothing: the game owns its thread. A browser page
// only draws and delivers keys while the game's loop waits, so the web build
// provides its own definition (web/FrameYield.cpp) that waits 0 ms.
void yieldToHost();

#pragma once

#include <SDL.h>

#include <functional>

class Level;

// What the events of one frame asked of the loop.
struct LoopInput {
    bool quit = false;  // Escape or window close: the frame stops at once
    bool skip = false;  // key 4: on to the next level
    bool pause = false; // P or the pad's pause button: polling stops there
};

// What happened in one frame.
struct FrameOutcome {
    LoopInput input;
    int step = 0;        // the level step's StepResult
    bool drawn = false;  // false when the frame ended before its picture
};

// The parts of a frame that differ between its callers; each may stay empty.
struct FrameHooks {
    // After the events, before the step: a tool queues a key there for a
    // hint box the step may open.
    std::function<void()> beforeStep;
    // After the step, before the picture. It may load another level into
    // the Level or put a new Level in its place; false ends the frame
    // without a picture.
    std::function<bool(const FrameOutcome&)> afterStep;
    // False for the search tools: the level goes through its drawing without
    // painting (Level::drawUnseen), so play stays in step with a drawn frame.
    bool picture = true;
};

// Hands every pending event to the level first, then looks for the loop's
// own keys: Escape, 4 and m, and the pause. The key presses a pad event stands
// for go to the level only, so a pad never quits or skips.
LoopInput pollEvents(Level& level);

// One frame of play, the same in the game loop, its tools and its tests:
// the events, the step, then the level drawn over its background colour.
// With a deadline the picture is flipped onto the window and the frame waits
// out its period; without one the driven clock moves on by one period. A
// pause holds the frame after its events; it goes on from there on resume.
FrameOutcome playFrame(Level*& level, SDL_Surface* screen, Uint32* deadline,
                       const FrameHooks& hooks = {});

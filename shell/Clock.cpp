#include "shell/Clock.h"

#include "shell/FrameYield.h"

namespace {
bool manual = false;      // true while the virtual clock stands in for SDL's
Uint32 manualTicks = 0;   // the virtual clock's reading, milliseconds
Uint32 waitedSinceAdvance = 0;  // virtual milliseconds spent in clockDelay since advanceClock
Uint32 stallLimit = 0;
void (*stallHandler)() = nullptr;
bool frozen = false;      // paused: readings stand at frozenAt
Uint32 frozenAt = 0;      // the reading when the pause began
Uint32 hiddenMs = 0;      // milliseconds of past pauses, left out of every reading

Uint32 sourceTicks() {
    return manual ? manualTicks : SDL_GetTicks();
}
}  // namespace

Uint32 clockTicks() {
    return frozen ? frozenAt : sourceTicks() - hiddenMs;
}

void clockDelay(Uint32 ms) {
    if (manual) {
        manualTicks += ms;
        waitedSinceAdvance += ms;
        if (stallHandler && waitedSinceAdvance > stallLimit) stallHandler();
    } else {
        SDL_Delay(ms);
    }
}

void paceFrame(Uint32& frameDeadline) {
    const Uint32 now = clockTicks();
    // A signed difference keeps the comparison right when the tick count wraps.
    const Sint32 left = static_cast<Sint32>(frameDeadline - now);
    if (left > 0) clockDelay(static_cast<Uint32>(left));
    // A late frame, or one on the virtual clock, has not slept; a host that
    // needs the loop to pause (a browser) still gets its turn.
    if (left <= 0 || manual) yieldToHost();
    frameDeadline = clockTicks() + framePeriodMs;
}

void freezeClock() {
    if (frozen) return;
    frozenAt = clockTicks();
    frozen = true;
}

void thawClock() {
    if (!frozen) return;
    frozen = false;
    hiddenMs = sourceTicks() - frozenAt;
}

bool isClockFrozen() {
    return frozen;
}

// A new source starts with its own readings, with no pause to hide.
void useManualClock(Uint32 start) {
    manual = true;
    manualTicks = start;
    frozen = false;
    hiddenMs = 0;
}

void useRealClock() {
    manual = false;
    frozen = false;
    hiddenMs = 0;
}

bool isManualClock() {
    return manual;
}

void advanceClock(Uint32 ms) {
    if (manual) manualTicks += ms;
    waitedSinceAdvance = 0;
}

void setClockStallGuard(Uint32 limitMs, void (*onStall)()) {
    stallLimit = limitMs;
    stallHandler = onStall;
    waitedSinceAdvance = 0;
}

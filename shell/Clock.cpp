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
constexpr int fullSpeed = 100;  // percent
int speedPercent = fullSpeed;   // game milliseconds per 100 real ones
Uint32 speedSetAtReal = 0;      // SDL_GetTicks when the speed was last set
Uint32 speedSetAtGame = 0;      // the real clock's reading then

// The real clock in game milliseconds: SDL_GetTicks itself at full speed.
Uint32 scaledRealTicks() {
    const Uint64 realSince = static_cast<Uint32>(SDL_GetTicks() - speedSetAtReal);
    return speedSetAtGame + static_cast<Uint32>(realSince * speedPercent / fullSpeed);
}

Uint32 sourceTicks() {
    return manual ? manualTicks : scaledRealTicks();
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
        SDL_Delay(static_cast<Uint32>(static_cast<Uint64>(ms) * fullSpeed / speedPercent));
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

void setClockSpeed(int percent) {
    if (percent < 1 || percent > fullSpeed) percent = fullSpeed;
    // The reading carries on from where it stands, only its pace changes.
    speedSetAtGame = scaledRealTicks();
    speedSetAtReal = SDL_GetTicks();
    speedPercent = percent;
}

int clockSpeed() {
    return speedPercent;
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

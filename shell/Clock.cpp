#include "shell/Clock.h"

namespace {
bool manual = false;      // true while the virtual clock stands in for SDL's
Uint32 manualTicks = 0;   // the virtual clock's reading, milliseconds
Uint32 waitedSinceAdvance = 0;  // virtual milliseconds spent in clockDelay since advanceClock
Uint32 stallLimit = 0;
void (*stallHandler)() = nullptr;
}  // namespace

Uint32 clockTicks() {
    return manual ? manualTicks : SDL_GetTicks();
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
    frameDeadline = clockTicks() + framePeriodMs;
}

void useManualClock(Uint32 start) {
    manual = true;
    manualTicks = start;
}

void useRealClock() {
    manual = false;
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

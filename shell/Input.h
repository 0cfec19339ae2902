#pragma once

#include "menus/Settings.h"

#include <SDL.h>

// The input devices: the one source of events for every loop of the game
// (play, the menus, a sign's box, the pause). The window's own keys are
// handled here before any loop sees them; a gamepad, and the fixed second
// keys (the arrows, Space), act as a second keyboard for the bound actions.

constexpr Uint8 pauseButton = 7;  // the pad button that pauses, unless an action has it

// SDL_PollEvent, less what the display uses up (F11), with mouse positions
// in picture pixels. Pad events and fixed keys are handed on as they are,
// and each also moves its actions in the keyboard state and queues the key
// presses and releases of the bound keys it stands for (takePadKey). Whatever the previous call queued
// and nobody took is dropped, so a loop that ignores them (a sign's box, a
// menu) leaves nothing behind for the level.
bool pollInput(SDL_Event* event);

// The next key event the last pad event or fixed key stood for: SDL_KEYDOWN
// or SDL_KEYUP with the bound key. Only play hands these on, to the level.
bool takePadKey(SDL_Event* key);

// Opens the first pad present, if any, and says its name; closes it again.
void openPad();
void closePad();
bool padOpen();
// For tests and tools without a pad: padOpen answers true while assumed.
void assumePadOpen(bool assumed);

// One change of an action the pad holds.
struct PadChange {
    int action = 0;  // a UserKey
    bool down = false;
};

// What one pad event changed, in UserKey order.
struct PadChanges {
    int count = 0;
    PadChange change[userKeyCount];
};

// The pad's state as the game sees it: which actions it holds. The first
// stick (axis 0) and the hat steer left and right; a button bound in the
// settings holds its action.
class PadTranslator {
public:
    // Takes one event (others than the pad's are ignored) and says which
    // actions it pressed or released, bindings read from `buttons`.
    PadChanges translate(const SDL_Event& event, const int (&buttons)[userKeyCount]);
    bool holds(int action) const { return held[action]; }
    int stickDirection() const { return stick; }  // -1 left, 0 centre, 1 right

private:
    bool actionHeld(int action, const int (&buttons)[userKeyCount]) const;

    int stick = 0;  // -1, 0 or 1 once past the dead zone
    int hat = 0;    // -1, 0 or 1
    Uint64 buttonsDown = 0;  // bit n: button n held
    bool held[userKeyCount] = {};
};

// The translator that pollInput feeds; tests read and reset it.
PadTranslator& padTranslator();
// Lets go of everything the pad and the fixed keys hold, in the keyboard state too.
void resetPad();

#include "shell/Input.h"

#include "shell/Display.h"

#include <iostream>

namespace {

constexpr Sint16 stickEngage = 9830;   // 30 % of the stick's travel: past it, a direction counts
constexpr Sint16 stickRelease = 6553;  // 20 %: under it, the direction lets go again
constexpr int queuedKeyLimit = 2 * userKeyCount;  // every action pressed or released at once

SDL_Joystick* pad = nullptr;  // the pad that drives the game, or null
bool padAssumed = false;      // a test or tool stands in for a pad
PadTranslator translator;

// Who holds each action besides the keyboard's bound key: the pad, and each
// fixed key, a bit apiece. The action is down while any of them holds it.
constexpr unsigned padHolds = 1u;
unsigned fixedKeyHolds(int index) { return 2u << index; }
unsigned heldBy[userKeyCount] = {};

// The keys set in the keyboard state for an action held that way, per
// action; 0 for none. A key the keyboard already held is left to it.
int keySetBy[userKeyCount] = {};

SDL_Event queued[queuedKeyLimit];  // the key events of the last pad or fixed key event
int queuedCount = 0;
int queuedTaken = 0;

int signOf(int value) { return (value > 0) - (value < 0); }

void holdKeyFor(int action, bool down) {
    int keyCount = 0;
    Uint8* keyState = SDL_GetKeyState(&keyCount);
    if (down) {
        const int key = getUserKey(action);
        if (key <= 0 || key >= keyCount || keyState[key]) return;
        keyState[key] = 1;
        keySetBy[action] = key;
    } else if (keySetBy[action] != 0) {
        // The binding may have changed since: the key the pad set is the one to let go.
        if (keySetBy[action] < keyCount) keyState[keySetBy[action]] = 0;
        keySetBy[action] = 0;
    }
}

void queueKey(int action, bool down) {
    if (queuedCount >= queuedKeyLimit) return;
    SDL_Event& event = queued[queuedCount++];
    event = SDL_Event();
    event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    event.key.type = event.type;
    event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    event.key.keysym.sym = static_cast<SDLKey>(getUserKey(action));
}

bool isPadEvent(const SDL_Event& event) {
    return event.type == SDL_JOYAXISMOTION || event.type == SDL_JOYHATMOTION ||
           event.type == SDL_JOYBUTTONDOWN || event.type == SDL_JOYBUTTONUP;
}

// One holder takes or lets go of an action. The first to take it presses the
// bound key, the last to let go releases it; a fixed key pressed while the
// action is already held presses again, as a second key of its own would.
void hold(int action, unsigned holder, bool down) {
    const bool before = heldBy[action] != 0;
    heldBy[action] = down ? heldBy[action] | holder : heldBy[action] & ~holder;
    const bool after = heldBy[action] != 0;
    if (before != after) holdKeyFor(action, after);
    if (before != after || (down && holder != padHolds)) queueKey(action, down);
}

// A fixed key's press stands for its action unless it is bound; its release
// always lets go, so a key rebound while held cannot stick.
void translateFixedKey(const SDL_Event& event) {
    const int key = event.key.keysym.sym;
    for (int i = 0; i < fixedKeyCount; ++i) {
        if (fixedKeys[i] != key) continue;
        if (event.type == SDL_KEYUP) {
            if (heldBy[fixedKeyActions[i]] & fixedKeyHolds(i)) {
                hold(fixedKeyActions[i], fixedKeyHolds(i), false);
            }
        } else if (fixedKeyAction(key) >= 0) {
            hold(fixedKeyActions[i], fixedKeyHolds(i), true);
        }
    }
}

// The bound key let go on the keyboard while a pad or fixed key still holds
// its action: the action stays down, now on our account.
void keepHeldAction(const SDL_Event& event) {
    for (int action = 0; action < userKeyCount; ++action) {
        if (heldBy[action] == 0 || getUserKey(action) != event.key.keysym.sym) continue;
        int keyCount = 0;
        Uint8* keyState = SDL_GetKeyState(&keyCount);
        const int key = getUserKey(action);
        if (key <= 0 || key >= keyCount) continue;
        keyState[key] = 1;
        keySetBy[action] = key;
    }
}

}  // namespace

bool PadTranslator::actionHeld(int action, const int (&buttons)[userKeyCount]) const {
    const int button = buttons[action];
    if (button >= 0 && button < padButtonLimit && (buttonsDown >> button & 1)) return true;
    if (action == KeyLeft) return stick < 0 || hat < 0;
    if (action == KeyRight) return stick > 0 || hat > 0;
    return false;
}

PadChanges PadTranslator::translate(const SDL_Event& event,
                                    const int (&buttons)[userKeyCount]) {
    switch (event.type) {
        case SDL_JOYAXISMOTION:
            if (event.jaxis.axis != 0) break;
            // Engaging further out than releasing keeps a stick resting near
            // the edge from chattering.
            if (event.jaxis.value <= -stickEngage) {
                stick = -1;
            } else if (event.jaxis.value >= stickEngage) {
                stick = 1;
            } else if (event.jaxis.value > -stickRelease && event.jaxis.value < stickRelease) {
                stick = 0;
            } else if (signOf(event.jaxis.value) != stick) {
                stick = 0;
            }
            break;
        case SDL_JOYHATMOTION:
            if (event.jhat.hat != 0) break;
            hat = (event.jhat.value & SDL_HAT_LEFT) ? -1 : (event.jhat.value & SDL_HAT_RIGHT) ? 1 : 0;
            break;
        case SDL_JOYBUTTONDOWN:
        case SDL_JOYBUTTONUP:
            if (event.jbutton.button >= padButtonLimit) break;
            if (event.type == SDL_JOYBUTTONDOWN) {
                buttonsDown |= Uint64(1) << event.jbutton.button;
            } else {
                buttonsDown &= ~(Uint64(1) << event.jbutton.button);
            }
            break;
        default:
            break;
    }
    PadChanges changes;
    for (int action = 0; action < userKeyCount; ++action) {
        const bool now = actionHeld(action, buttons);
        if (now == held[action]) continue;
        held[action] = now;
        changes.change[changes.count].action = action;
        changes.change[changes.count].down = now;
        ++changes.count;
    }
    return changes;
}

bool pollInput(SDL_Event* event) {
    queuedCount = 0;
    queuedTaken = 0;
    while (SDL_PollEvent(event)) {
        if (!filterDisplayEvent(*event)) continue;
        if (isPadEvent(*event)) {
            const PadChanges changes = translator.translate(*event, padButtons);
            for (int i = 0; i < changes.count; ++i) {
                hold(changes.change[i].action, padHolds, changes.change[i].down);
            }
        } else if (event->type == SDL_KEYDOWN || event->type == SDL_KEYUP) {
            translateFixedKey(*event);
            if (event->type == SDL_KEYUP) keepHeldAction(*event);
        }
        return true;
    }
    return false;
}

bool takePadKey(SDL_Event* key) {
    if (queuedTaken >= queuedCount) return false;
    *key = queued[queuedTaken++];
    return true;
}

void openPad() {
    if (SDL_InitSubSystem(SDL_INIT_JOYSTICK) != 0 || SDL_NumJoysticks() < 1) return;
    pad = SDL_JoystickOpen(0);
    if (!pad) return;
    SDL_JoystickEventState(SDL_ENABLE);
    const char* name = SDL_JoystickName(0);
    std::cout << "Gamepad: " << (name ? name : "unnamed") << std::endl;
}

void closePad() {
    if (pad) SDL_JoystickClose(pad);
    pad = nullptr;
    resetPad();
}

bool padOpen() { return pad != nullptr || padAssumed; }

void assumePadOpen(bool assumed) { padAssumed = assumed; }

PadTranslator& padTranslator() { return translator; }

void resetPad() {
    for (int action = 0; action < userKeyCount; ++action) {
        holdKeyFor(action, false);
        heldBy[action] = 0;
    }
    translator = PadTranslator();
    queuedCount = 0;
    queuedTaken = 0;
}

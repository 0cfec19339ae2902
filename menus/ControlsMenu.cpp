#include "menus/ControlsMenu.h"

#include "media/Text.h"
#include "menus/Button.h"
#include "menus/Settings.h"
#include "shell/Clock.h"
#include "shell/Display.h"
#include "shell/Input.h"

#include <SDL_ttf.h>

#include <iostream>
#include <string>

namespace {

constexpr int menuFontPoints = 20;  // button captions
constexpr int buttonX = 20;         // left edge of every button, pixels
constexpr int buttonW = 100;
constexpr int buttonH = 25;
constexpr int firstButtonY = 1;  // top of the Jump button
constexpr int rowPitch = 40;     // from one button's top to the next
constexpr Uint32 keyWaitSleepMs = 100;  // sleep while waiting for a key with nothing queued

const SDL_Color white = {255, 255, 255, 0};
const SDL_Color grey = {128, 128, 128, 0};

void traceKeyName(const std::string& name) {
    std::cerr << "char* is " << name << "!\n";
    std::cerr << "i is " << name.find(' ') << "string is " << name << "!\n";
}

// Blocks until a key press or a pad button; clicks and window closes
// meanwhile are dropped, so a rebinding cannot be cancelled.
SDL_Event waitForBinding() {
    SDL_Event event;
    for (;;) {
        if (!pollInput(&event)) {
            clockDelay(keyWaitSleepMs);
            continue;
        }
        if (event.type == SDL_KEYDOWN) return event;
        if (event.type == SDL_JOYBUTTONDOWN && event.jbutton.button < padButtonLimit) return event;
    }
}

// A key binds the key; a pad button binds the button and leaves the key.
// True when the pad's bindings changed.
bool rebind(controlbutton& button, SDL_Surface* screen) {
    drawText(0, 0, "Press a key:", screen, &white, 0, 0);
    presentPicture(screen);
    const SDL_Event event = waitForBinding();
    if (event.type == SDL_JOYBUTTONDOWN) {
        return bindPadButton(button.userKey, event.jbutton.button);
    }
    const SDLKey key = event.key.keysym.sym;
    userKeys[button.userKey] = key;
    button.setText(keyName(key));
    return false;
}

// "Pad 2" for the button bound to an action; empty when none is.
std::string padCaption(int userKey) {
    const int button = padButtons[userKey];
    return button == noPadButton ? std::string() : "Pad " + intToString(button);
}

}  // namespace

int runControlsMenu(SDL_Surface* screen) {
    TTF_Font* font = TTF_OpenFont(fontPath, menuFontPoints);
    const Uint32 buttonGrey = SDL_MapRGB(SDL_GetVideoInfo()->vfmt, 128, 128, 128);
    controlbutton* buttons[userKeyCount];
    for (int i = 0; i < userKeyCount; ++i) {
        buttons[i] = new controlbutton(buttonX, firstButtonY + rowPitch * i, buttonW, buttonH,
                                       buttonGrey, white, font, "Temp");
        buttons[i]->userKey = i;
        const std::string name = keyName(userKeys[i]);
        traceKeyName(name);
        buttons[i]->setText(name);
    }

    bool leaving = false;
    bool padBindingsChanged = false;
    Uint32 frameDeadline = clockTicks() + framePeriodMs;
    for (;;) {
        SDL_Event event;
        while (pollInput(&event)) {
            if (event.type == SDL_KEYDOWN || event.type == SDL_QUIT ||
                event.type == SDL_JOYBUTTONDOWN) {
                leaving = true;
            } else if (event.type == SDL_MOUSEBUTTONDOWN) {
                for (controlbutton* button : buttons) {
                    if (button->isClicked(event) && rebind(*button, screen)) {
                        padBindingsChanged = true;
                    }
                }
            }
        }
        screen = currentPicture(screen);
        SDL_FillRect(screen, nullptr, 0);
        for (controlbutton* button : buttons) {
            button->draw(screen);
            const SDL_Rect& rect = button->getRect();
            drawText(rect.x + rect.w, rect.y, userKeyCaptions[button->userKey], screen, &grey,
                     rect.w, rect.h);
            // Without a pad the menu shows only what a keyboard needs.
            const std::string pad = padOpen() ? padCaption(button->userKey) : std::string();
            if (!pad.empty()) {
                drawText(rect.x + 2 * rect.w, rect.y, pad, screen, &grey, rect.w, rect.h);
            }
        }
        presentPicture(screen);
        if (leaving) break;
        paceFrame(frameDeadline);
    }

    // The pad's buttons live beside the window settings, not in prefs.cdv.
    if (padBindingsChanged) writeWindowAndPad();
    for (Button* button : buttons) delete button;
    if (font) TTF_CloseFont(font);
    return 0;
}

#include "menus/MessageBox.h"

#include "media/Images.h"
#include "media/Text.h"
#include "shell/Clock.h"
#include "shell/Display.h"
#include "shell/Input.h"

#include <iostream>

namespace {

constexpr Uint8 veilAlpha = 192;     // opacity of the white veil, of 255
constexpr Uint32 idleSleepMs = 50;   // sleep while no event is pending
constexpr Uint32 settleMs = 50;      // pause after the box is dismissed

SDL_Surface* overlay = nullptr;  // the cached veil, at the size of the screen it was made for

void makeOverlay(SDL_Surface* screen) {
    overlay = SDL_CreateRGBSurface(SDL_SRCCOLORKEY, screen->w, screen->h, 32, 0, 0, 0, 0);
    if (!overlay) return;
    SDL_FillRect(overlay, nullptr, SDL_MapRGB(SDL_GetVideoInfo()->vfmt, 255, 255, 255));
    SDL_SetAlpha(overlay, SDL_SRCALPHA, veilAlpha);
}

bool endsWait(const SDL_Event& event) {
    return event.type == SDL_KEYDOWN || event.type == SDL_QUIT ||
           event.type == SDL_MOUSEBUTTONDOWN || event.type == SDL_JOYBUTTONDOWN;
}

}  // namespace

void showMessage(const std::string& text, SDL_Surface* screen) {
    // The Hint's screen may be a picture that F11 has replaced since.
    screen = currentPicture(screen);
    if (!screen) return;
    if (!overlay) makeOverlay(screen);
    // The veil's own surface alpha does the blending; the draw itself is plain.
    drawSurface(0, 0, overlay, screen, nullptr, 255);
    const SDL_Color black = {0, 0, 0, 0};
    drawText(0, screen->h / 2, text, screen, &black, 0, 0);
    std::cout << text << std::endl;
    presentPicture(screen);

    // Time spent reading is not game time: the enemies' clocks stand still
    // until the box goes. The settle after it still counts, as it always has.
    const bool frozenBefore = isClockFrozen();
    freezeClock();
    // Whatever ends the wait is swallowed here, so a quit request only
    // dismisses the box and the key never reaches the player.
    SDL_Event event;
    for (;;) {
        if (!pollInput(&event)) {
            clockDelay(idleSleepMs);
            continue;
        }
        if (endsWait(event)) break;
    }
    if (!frozenBefore) thawClock();
    clockDelay(settleMs);
}

void releaseMessageOverlay() {
    if (overlay) SDL_FreeSurface(overlay);
    overlay = nullptr;
}

SDL_Surface* messageOverlay() { return overlay; }

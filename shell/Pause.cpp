#include "shell/Pause.h"

#include "media/Images.h"
#include "media/Text.h"
#include "menus/Settings.h"
#include "shell/Clock.h"
#include "shell/Display.h"
#include "shell/Input.h"

#include <SDL_mixer.h>

namespace {

constexpr Uint8 veilAlpha = 160;     // opacity of the dark veil over the picture, of 255
constexpr Uint32 idleSleepMs = 20;   // sleep while no event is pending
constexpr int wordWidthShare = 2;    // the word fits in half the picture's width
constexpr int wordHeightShare = 4;   // and a quarter of its height
constexpr const char* pausedWord = "Paused";

const SDL_Color white = {255, 255, 255, 0};

bool buttonBoundToAction(int button) {
    for (int action = 0; action < userKeyCount; ++action) {
        if (padButtons[action] == button) return true;
    }
    return false;
}

// The still picture with the veil and the word, presented; the picture may
// have changed under us (F11), so it is looked up again each time.
SDL_Surface* show(SDL_Surface* held, SDL_Surface* still, SDL_Surface* veil) {
    SDL_Surface* picture = currentPicture(held);
    if (!picture) return picture;
    if (still) SDL_BlitSurface(still, nullptr, picture, nullptr);
    if (veil) drawSurface(0, 0, veil, picture, nullptr, 255);
    SDL_Surface* word = renderFittedText(pausedWord, white, picture->w / wordWidthShare,
                                         picture->h / wordHeightShare);
    if (word) {
        drawSurface(static_cast<Sint16>((picture->w - word->w) / 2),
                    static_cast<Sint16>((picture->h - word->h) / 2), word, picture, nullptr, 255);
        SDL_FreeSurface(word);
    }
    presentPicture(picture);
    return picture;
}

}  // namespace

bool isPauseEvent(const SDL_Event& event) {
    if (event.type == SDL_KEYDOWN) {
        return event.key.keysym.sym == SDLK_p && !keyBoundToAction(SDLK_p);
    }
    if (event.type == SDL_JOYBUTTONDOWN) {
        return event.jbutton.button == pauseButton && !buttonBoundToAction(pauseButton);
    }
    return false;
}

PauseEnd runPause(SDL_Surface* picture) {
    picture = currentPicture(picture);
    if (!picture) return PauseEnd::Resume;
    freezeClock();
    const bool musicWasPlaying = Mix_PlayingMusic() && !Mix_PausedMusic();
    if (musicWasPlaying) Mix_PauseMusic();

    // The last frame, kept to redraw under the veil when the picture is replaced.
    SDL_Surface* still = SDL_ConvertSurface(picture, picture->format, SDL_SWSURFACE);
    SDL_Surface* veil = SDL_CreateRGBSurface(SDL_SWSURFACE, picture->w, picture->h, 32, 0, 0, 0, 0);
    if (veil) {
        SDL_FillRect(veil, nullptr, SDL_MapRGB(veil->format, 0, 0, 0));
        SDL_SetAlpha(veil, SDL_SRCALPHA, veilAlpha);
    }
    SDL_Surface* shown = show(picture, still, veil);

    PauseEnd end = PauseEnd::Resume;
    SDL_Event event;
    for (;;) {
        if (!pollInput(&event)) {
            if (currentPicture(shown) != shown) shown = show(shown, still, veil);
            clockDelay(idleSleepMs);
            continue;
        }
        if (event.type == SDL_QUIT ||
            (event.type == SDL_KEYDOWN && event.key.keysym.sym == SDLK_ESCAPE)) {
            end = PauseEnd::Quit;
            break;
        }
        if (isPauseEvent(event)) break;
        if (event.type == SDL_VIDEOEXPOSE) shown = show(shown, still, veil);
    }

    // The frame that was interrupted is drawn afresh, so the veil goes with it.
    if (still) SDL_FreeSurface(still);
    if (veil) SDL_FreeSurface(veil);
    if (musicWasPlaying) Mix_ResumeMusic();
    thawClock();
    return end;
}

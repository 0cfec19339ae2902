#include "shell/Frame.h"

#include "level/Level.h"
#include "shell/Clock.h"
#include "shell/Display.h"
#include "shell/Game.h"
#include "shell/Input.h"
#include "shell/Pause.h"

LoopInput pollEvents(Level& level) {
    LoopInput input;
    SDL_Event event;
    while (pollInput(&event)) {
        level.handleEvent(event);
        SDL_Event padKey;
        while (takePadKey(&padKey)) level.handleEvent(padKey);
        if (event.type == SDL_QUIT) {
            input.quit = true;
            return input;
        }
        if (isPauseEvent(event)) {
            // Later events wait in the queue for the pause or the next frame.
            input.pause = true;
            return input;
        }
        if (event.type != SDL_KEYDOWN) continue;
        switch (event.key.keysym.sym) {
            case SDLK_ESCAPE:
                input.quit = true;
                return input;
            case SDLK_4:
                input.skip = true;
                break;
            case SDLK_m:
                toggleMusic();
                break;
            default:
                break;
        }
    }
    return input;
}

FrameOutcome playFrame(Level*& level, SDL_Surface* screen, Uint32* deadline,
                       const FrameHooks& hooks) {
    FrameOutcome outcome;
    outcome.input = pollEvents(*level);
    if (outcome.input.pause && runPause(screen) == PauseEnd::Quit) outcome.input.quit = true;
    if (outcome.input.quit) return outcome;
    // F11 among the events may have given the game a new picture to draw into.
    screen = currentPicture(screen);
    if (hooks.beforeStep) hooks.beforeStep();
    // The step runs whether or not the skip key was pressed.
    outcome.step = level->step();
    if (hooks.afterStep && !hooks.afterStep(outcome)) return outcome;
    // A menu opened by the step may have made the window anew: the old
    // picture is gone.
    screen = currentPicture(screen);
    if (hooks.picture) {
        fillScreen(screen, backgroundColour(level->getLevelNumber()));
        level->draw();
    } else {
        level->drawUnseen();
    }
    outcome.drawn = true;
    if (deadline) {
        presentPicture(screen);
        paceFrame(*deadline);
    } else {
        advanceClock(framePeriodMs);
    }
    return outcome;
}

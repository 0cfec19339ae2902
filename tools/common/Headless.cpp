#include "tools/common/Headless.h"

#include "media/Sound.h"
#include "media/Text.h"
#include "menus/MessageBox.h"
#include "menus/Settings.h"
#include "shell/Particles.h"

#include <SDL_image.h>
#include <SDL_mixer.h>
#include <SDL_ttf.h>

#include <cstdlib>
#include <iostream>

SDL_Surface* startHeadless(int tileEdge) {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    if (SDL_Init(SDL_INIT_TIMER | SDL_INIT_AUDIO | SDL_INIT_VIDEO) < 0 || TTF_Init() < 0) {
        std::cerr << "SDL failed to start: " << SDL_GetError() << '\n';
        return nullptr;
    }
    IMG_Init(IMG_INIT_PNG);
    Mix_OpenAudio(22050, AUDIO_S16LSB, 2, 512);
    SDL_Surface* screen = SDL_SetVideoMode(windowColumns * tileEdge, windowRows * tileEdge, 32, 0);
    if (!screen) std::cerr << "no video surface: " << SDL_GetError() << '\n';
    return screen;
}

void stopHeadless() {
    // Sparks still flying and the last track belong to no Level: free them here.
    clearParticles();
    releaseMessageOverlay();
    releaseMusic();
    closeFontCache();
    releaseEffects();
    Mix_CloseAudio();
    TTF_Quit();
    SDL_Quit();
}

void pressKey(int key) {
    SDL_Event event{};
    event.type = SDL_KEYDOWN;
    event.key.type = SDL_KEYDOWN;
    event.key.state = SDL_PRESSED;
    event.key.keysym.sym = static_cast<SDLKey>(key);
    SDL_PushEvent(&event);
}

FrameOutcome playClosingHints(Level*& level, SDL_Surface* screen) {
    FrameHooks hooks;
    hooks.beforeStep = [] { pressKey(SDLK_SPACE); };
    return playFrame(level, screen, nullptr, hooks);
}

void holdKey(int key, bool down) {
    int count = 0;
    Uint8* keys = SDL_GetKeyState(&count);
    if (key > 0 && key < count) keys[key] = down ? 1 : 0;
}

void giveInput(const FrameInput& input) {
    holdKey(getUserKey(KeyLeft), input.left);
    holdKey(getUserKey(KeyRight), input.right);
    holdKey(getUserKey(KeyExplodeAll), input.explodeAll);
    if (input.jump) pressKey(getUserKey(KeyJump));
    if (input.queryHint) pressKey(getUserKey(KeyQueryHint));
    if (input.layBomb) pressKey(getUserKey(KeyLayBomb));
}

void releaseHeldKeys() { giveInput(FrameInput()); }

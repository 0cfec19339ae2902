// Headless test entry: SDL runs on its dummy video and audio drivers, with
// the window, the image loader, the font engine and the mixer started as the
// game starts them.
#include "media/Text.h"

#include <SDL.h>
#include <SDL_image.h>
#include <SDL_mixer.h>
#include <SDL_ttf.h>
#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    if (SDL_Init(SDL_INIT_TIMER | SDL_INIT_AUDIO | SDL_INIT_VIDEO) < 0) return 2;
    IMG_Init(IMG_INIT_PNG);
    if (TTF_Init() < 0) return 2;
    Mix_OpenAudio(22050, AUDIO_S16LSB, 2, 512);
    if (!SDL_SetVideoMode(640, 480, 32, 0)) return 2;
    const int result = RUN_ALL_TESTS();
    closeFontCache();
    Mix_CloseAudio();
    TTF_Quit();
    SDL_Quit();
    return result;
}

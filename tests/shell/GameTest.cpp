#include "shell/Game.h"

#include "shell/Clock.h"
#include "tests/shell/SilentTrack.h"
#include "tests/support/TestSupport.h"

#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <iostream>
#include <string>

namespace {

void expectColour(SDL_Color colour, int r, int g, int b, const std::string& what) {
    EXPECT_EQ(colour.r, r) << what;
    EXPECT_EQ(colour.g, g) << what;
    EXPECT_EQ(colour.b, b) << what;
}

TEST(BackgroundColour, TableOfTheFirstLevels) {
    expectColour(backgroundColour(0), 31, 254, 247, "menu");
    expectColour(backgroundColour(1), 255, 255, 255, "level 1");
    expectColour(backgroundColour(2), 223, 0, 7, "level 2");
    expectColour(backgroundColour(3), 191, 1, 15, "level 3");
    expectColour(backgroundColour(4), 159, 2, 23, "level 4");
    expectColour(backgroundColour(5), 31, 254, 31, "level 5");
}

TEST(BackgroundColour, RedAndGreenRepeatEveryFiveLevelsBlueEveryThirtyTwo) {
    for (int n = 0; n < 200; ++n) {
        const SDL_Color here = backgroundColour(n);
        const SDL_Color five = backgroundColour(n + 5);
        const SDL_Color thirtyTwo = backgroundColour(n + 32);
        EXPECT_EQ(here.r, five.r) << n;
        EXPECT_EQ(here.g, five.g) << n;
        EXPECT_EQ(here.b, thirtyTwo.b) << n;
    }
    // Blue does change between neighbours, so the repeat is not trivial.
    EXPECT_NE(backgroundColour(6).b, backgroundColour(1).b);
}

TEST(FillScreen, CoversTheWholeScreen) {
    SDL_Surface* screen = SDL_GetVideoSurface();
    ASSERT_NE(screen, nullptr);
    SDL_FillRect(screen, nullptr, 0);
    fillScreen(screen, backgroundColour(2));
    const int xs[] = {0, screen->w / 2, screen->w - 1};
    const int ys[] = {0, screen->h / 2, screen->h - 1};
    for (int x : xs) {
        for (int y : ys) expectColour(pixelAt(screen, x, y), 223, 0, 7, "pixel");
    }
    fillScreen(screen, backgroundColour(0));
    expectColour(pixelAt(screen, screen->w - 1, screen->h - 1), 31, 254, 247, "refilled");
}

class PaceFrameTest : public ::testing::Test {
protected:
    void TearDown() override { useRealClock(); }
};

TEST_F(PaceFrameTest, WaitsForTheRestOfTheFrame) {
    useManualClock(1000);
    Uint32 deadline = clockTicks();
    paceFrame(deadline);
    EXPECT_EQ(clockTicks(), 1000u);  // the pass just began: nothing to wait for
    EXPECT_EQ(deadline, 1033u);

    advanceClock(10);  // a quick frame
    paceFrame(deadline);
    EXPECT_EQ(clockTicks(), 1033u);
    EXPECT_EQ(deadline, 1066u);
}

TEST_F(PaceFrameTest, SlowFrameIsNotMadeUp) {
    useManualClock(1000);
    Uint32 deadline = 1033;
    advanceClock(50);  // 17 ms late
    paceFrame(deadline);
    EXPECT_EQ(clockTicks(), 1050u);
    EXPECT_EQ(deadline, 1083u);
    // The next frame gets its full 33 ms again, not 16.
    paceFrame(deadline);
    EXPECT_EQ(clockTicks(), 1083u);
    EXPECT_EQ(deadline, 1116u);
}

TEST_F(PaceFrameTest, WaitsAcrossTheTickCounterWrapping) {
    useManualClock(UINT32_MAX - 9);
    Uint32 deadline = UINT32_MAX - 9;
    paceFrame(deadline);
    EXPECT_EQ(deadline, 23u);  // wrapped
    paceFrame(deadline);
    EXPECT_EQ(clockTicks(), 23u);
    EXPECT_EQ(deadline, 56u);
}

TEST(ToggleMusic, PausesPlayingMusicAndResumesIt) {
    ScratchDir dir;
    dir.write("data/sound/music/quiet.wav", silentWave());
    Mix_Music* track = Mix_LoadMUS("data/sound/music/quiet.wav");
    ASSERT_NE(track, nullptr) << Mix_GetError();
    ASSERT_EQ(Mix_PlayMusic(track, -1), 0) << Mix_GetError();
    EXPECT_EQ(Mix_PausedMusic(), 0);
    toggleMusic();
    EXPECT_NE(Mix_PausedMusic(), 0);
    toggleMusic();
    EXPECT_EQ(Mix_PausedMusic(), 0);
    Mix_HaltMusic();
    Mix_FreeMusic(track);
}

// initSystems on top of the harness's running SDL: starting again is allowed,
// and the window it opens is put back to 640 by 480 afterwards.
class InitSystemsTest : public ::testing::Test {
protected:
    void TearDown() override {
        SDL_SetVideoMode(640, 480, 32, 0);
        SDL_WM_SetCaption(startCaption, nullptr);
    }

    bool start(int width, int height, int bitsPerPixel) {
        testing::internal::CaptureStdout();
        const bool started =
            initSystems("Curdovar II: test", &screen, width, height, bitsPerPixel, 0);
        std::cout.flush();
        fflush(stdout);
        out = testing::internal::GetCapturedStdout();
        return started;
    }

    SDL_Surface* screen = nullptr;
    std::string out;
};

TEST_F(InitSystemsTest, OpensTheWindowWithItsCaption) {
    ASSERT_TRUE(start(320, 240, 32));
    EXPECT_EQ(out, "Initializing...\nIMG...\nTTF...\nMixer...\nScreen...\nSDL Initialized.\n");
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(screen, SDL_GetVideoSurface());
    EXPECT_EQ(screen->w, 320);
    EXPECT_EQ(screen->h, 240);
    EXPECT_EQ(screen->format->BitsPerPixel, 32);
    char* title = nullptr;
    char* icon = nullptr;
    SDL_WM_GetCaption(&title, &icon);
    ASSERT_NE(title, nullptr);
    EXPECT_STREQ(title, "Curdovar II: test");
}

TEST_F(InitSystemsTest, RefusedVideoModeStopsWithSdlsReason) {
    EXPECT_FALSE(start(-5, 480, 32));
    EXPECT_EQ(screen, nullptr);
    EXPECT_EQ(out, "Initializing...\nIMG...\nTTF...\nMixer...\nScreen...\n"
                   "Error setting up screen. Invalid width or height\n");
}

TEST_F(InitSystemsTest, BadBitsPerPixelStopsWithSdlsReason) {
    EXPECT_FALSE(start(640, 480, 7));
    EXPECT_EQ(screen, nullptr);
    const std::string tail = "Error setting up screen. Invalid bits per pixel (range is {8...32})\n";
    ASSERT_GE(out.size(), tail.size());
    EXPECT_EQ(out.substr(out.size() - tail.size()), tail);
    EXPECT_EQ(out.find("SDL Initialized."), std::string::npos);
}

}  // namespace

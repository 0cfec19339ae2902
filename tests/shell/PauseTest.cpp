#include "shell/Pause.h"

#include "level/Level.h"
#include "menus/Settings.h"
#include "shell/Clock.h"
#include "shell/Display.h"
#include "shell/Frame.h"
#include "shell/Input.h"
#include "tests/shell/SilentTrack.h"
#include "tests/support/TestSupport.h"

#include <SDL_mixer.h>

#include <gtest/gtest.h>

namespace {

constexpr Uint32 stallMs = 100;  // virtual wait after which the script acts inside the pause
constexpr int giveUpCalls = 50;  // a pause that ignores the script is closed from outside

// What the script saw inside the pause, and what it pressed to leave.
struct InsidePause {
    int calls = 0;
    Uint32 ticks = 0;
    int lives = 0;  // the hero dies every step here, so a step costs a life
    int musicPaused = 0;
    SDL_Event leave = {};
    const Level* level = nullptr;
};
InsidePause inside;

void whilePaused() {
    if (++inside.calls == 1) {
        inside.ticks = clockTicks();
        if (inside.level) inside.lives = inside.level->getPlayer().getLives();
        inside.musicPaused = Mix_PausedMusic();
    }
    SDL_Event leave = inside.calls > giveUpCalls ? SDL_Event{SDL_QUIT} : inside.leave;
    SDL_PushEvent(&leave);
}

SDL_Event keyDown(SDLKey key) {
    SDL_Event event = {};
    event.type = SDL_KEYDOWN;
    event.key.type = SDL_KEYDOWN;
    event.key.state = SDL_PRESSED;
    event.key.keysym.sym = key;
    return event;
}

SDL_Event padButtonDown(int button) {
    SDL_Event event = {};
    event.type = SDL_JOYBUTTONDOWN;
    event.jbutton.type = SDL_JOYBUTTONDOWN;
    event.jbutton.button = static_cast<Uint8>(button);
    return event;
}

bool isWhite(SDL_Color c) { return c.r > 240 && c.g > 240 && c.b > 240; }

// White pixels inside and outside the middle half-width, quarter-height box.
struct WordPixels {
    int inside = 0;
    int outside = 0;
};

WordPixels countWord(SDL_Surface* picture) {
    WordPixels count;
    for (int y = 0; y < picture->h; ++y) {
        for (int x = 0; x < picture->w; ++x) {
            if (!isWhite(pixelAt(picture, x, y))) continue;
            const bool middle = x >= picture->w / 4 && x < picture->w * 3 / 4 &&
                                y >= picture->h * 3 / 8 && y < picture->h * 5 / 8;
            ++(middle ? count.inside : count.outside);
        }
    }
    return count;
}

class PauseTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir.useShipped("fonts");
        useManualClock(10000);
        inside = InsidePause();
        // A test before may have left the present step open; then the pause
        // would draw into its picture instead of the surfaces given here.
        closeDisplay();
        screen = SDL_GetVideoSurface();
        ASSERT_NE(screen, nullptr);
        // Level 2 fills its background with (223, 0, 7); no file: the hero just falls.
        testing::internal::CaptureStdout();
        testing::internal::CaptureStderr();
        level = new Level(2, screen);
        playFrame(level, screen, nullptr);
        testing::internal::GetCapturedStdout();
        testing::internal::GetCapturedStderr();
        inside.level = level;
        setClockStallGuard(stallMs, whilePaused);
    }
    void TearDown() override {
        setClockStallGuard(0, nullptr);
        delete level;
    }

    // One frame with the pause event queued and `leave` pressed inside it.
    FrameOutcome pausedFrame(const SDL_Event& pause, const SDL_Event& leave) {
        inside.leave = leave;
        SDL_Event queued = pause;
        SDL_PushEvent(&queued);
        return quietFrame();
    }
    // The hero of a level without a file falls and dies every frame, and says so.
    FrameOutcome quietFrame() {
        testing::internal::CaptureStdout();
        const FrameOutcome frame = playFrame(level, screen, nullptr);
        testing::internal::GetCapturedStdout();
        return frame;
    }

    ScratchDir dir;
    SDL_Surface* screen = nullptr;
    Level* level = nullptr;
};

TEST_F(PauseTest, PHoldsTheFrameWithTheClockStoppedAndResumesWhereItStopped) {
    const Uint32 before = clockTicks();
    const int livesBefore = level->getPlayer().getLives();
    const FrameOutcome frame = pausedFrame(keyDown(SDLK_p), keyDown(SDLK_p));
    ASSERT_GE(inside.calls, 1) << "the frame never paused";
    EXPECT_LE(inside.calls, 1);
    EXPECT_EQ(inside.ticks, before);
    EXPECT_EQ(inside.lives, livesBefore) << "the level stepped during the pause";
    EXPECT_FALSE(frame.input.quit);
    EXPECT_TRUE(frame.drawn);
    // The frame went on with one step, and the clock with one period only.
    EXPECT_EQ(level->getPlayer().getLives(), livesBefore - 1);
    EXPECT_EQ(clockTicks(), before + framePeriodMs);
    EXPECT_FALSE(isClockFrozen());
}

TEST_F(PauseTest, PausedPictureIsDarkenedWithTheWordInTheMiddle) {
    // Leaving by Escape ends the frame before it draws: the screen still
    // shows what the pause drew.
    const FrameOutcome frame = pausedFrame(keyDown(SDLK_p), keyDown(SDLK_ESCAPE));
    ASSERT_TRUE(frame.input.quit);
    const SDL_Color corner = pixelAt(screen, 2, 2);
    EXPECT_GT(corner.r, 40);
    EXPECT_LT(corner.r, 120) << "the level's red is not veiled";
    const WordPixels word = countWord(screen);
    EXPECT_GT(word.inside, 200) << "no \"Paused\" in the middle";
    EXPECT_EQ(word.outside, 0);
}

TEST_F(PauseTest, WordFitsTheSmallWindowToo) {
    SDL_Surface* small = SDL_CreateRGBSurface(SDL_SWSURFACE, 320, 240, 32, 0xFF0000, 0xFF00,
                                              0xFF, 0);
    ASSERT_NE(small, nullptr);
    SDL_FillRect(small, nullptr, SDL_MapRGB(small->format, 0, 120, 0));
    inside.leave = keyDown(SDLK_p);
    EXPECT_EQ(runPause(small), PauseEnd::Resume);
    const WordPixels word = countWord(small);
    EXPECT_GT(word.inside, 50);
    EXPECT_EQ(word.outside, 0);
    EXPECT_LT(pixelAt(small, 2, 2).g, 60);
    SDL_FreeSurface(small);
}

TEST_F(PauseTest, EscapeAndWindowCloseQuitFromThePauseWithoutAStep) {
    const int livesBefore = level->getPlayer().getLives();
    EXPECT_TRUE(pausedFrame(keyDown(SDLK_p), keyDown(SDLK_ESCAPE)).input.quit);
    EXPECT_EQ(level->getPlayer().getLives(), livesBefore);
    inside.calls = 0;
    EXPECT_TRUE(pausedFrame(keyDown(SDLK_p), SDL_Event{SDL_QUIT}).input.quit);
    EXPECT_EQ(level->getPlayer().getLives(), livesBefore);
    EXPECT_FALSE(isClockFrozen());
}

TEST_F(PauseTest, PadPauseButtonPausesAndResumes) {
    const Uint32 before = clockTicks();
    const FrameOutcome frame = pausedFrame(padButtonDown(pauseButton), padButtonDown(pauseButton));
    EXPECT_EQ(inside.calls, 1);
    EXPECT_EQ(inside.ticks, before);
    EXPECT_FALSE(frame.input.quit);
}

TEST_F(PauseTest, PAndThePauseButtonBoundToActionsDoNotPause) {
    userKeys[KeyQueryHint] = SDLK_p;
    padButtons[KeyExplodeAll] = pauseButton;
    const Uint32 before = clockTicks();
    SDL_Event p = keyDown(SDLK_p);
    SDL_PushEvent(&p);
    pushPadButton(pauseButton, true);
    const FrameOutcome frame = quietFrame();
    EXPECT_EQ(inside.calls, 0);
    EXPECT_TRUE(frame.drawn);
    EXPECT_EQ(clockTicks(), before + framePeriodMs);
    // The button does its action instead.
    int count = 0;
    EXPECT_NE(SDL_GetKeyState(&count)[getUserKey(KeyExplodeAll)], 0);
}

TEST_F(PauseTest, MusicPausesAndOnlyMusicThatPlayedResumes) {
    dir.write("data/sound/music/quiet.wav", silentWave());
    Mix_Music* track = Mix_LoadMUS("data/sound/music/quiet.wav");
    ASSERT_NE(track, nullptr) << Mix_GetError();
    ASSERT_EQ(Mix_PlayMusic(track, -1), 0);
    pausedFrame(keyDown(SDLK_p), keyDown(SDLK_p));
    EXPECT_NE(inside.musicPaused, 0);
    EXPECT_EQ(Mix_PausedMusic(), 0);

    // Music the player had stopped with m stays stopped.
    Mix_PauseMusic();
    inside.calls = 0;
    pausedFrame(keyDown(SDLK_p), keyDown(SDLK_p));
    EXPECT_EQ(inside.calls, 1);
    EXPECT_NE(Mix_PausedMusic(), 0);
    Mix_HaltMusic();
    Mix_FreeMusic(track);
}

}  // namespace

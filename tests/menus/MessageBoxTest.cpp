#include "menus/MessageBox.h"

#include "menus/Settings.h"
#include "shell/Clock.h"
#include "things/Enemy.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

namespace {

// What SDL's blend makes of the white veil at alpha 192 over one channel.
int veiled(int channel) { return channel + ((255 - channel) * 192 >> 8); }

void expectNear(SDL_Color seen, int r, int g, int b) {
    EXPECT_NEAR(seen.r, r, 2);
    EXPECT_NEAR(seen.g, g, 2);
    EXPECT_NEAR(seen.b, b, 2);
}

bool queueIsEmpty() {
    SDL_Event event;
    return SDL_PeepEvents(&event, 1, SDL_PEEKEVENT, SDL_ALLEVENTS) == 0;
}

Uint32 pressKeyLater(Uint32, void*) {
    pushKeyDown(SDLK_SPACE);
    return 0;  // once
}

class MessageBoxTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir.useShipped("fonts");
        useManualClock();
        screen = SDL_GetVideoSurface();
    }
    void fill(Uint8 r, Uint8 g, Uint8 b) {
        SDL_FillRect(screen, nullptr, SDL_MapRGB(screen->format, r, g, b));
    }

    ScratchDir dir;
    SDL_Surface* screen = nullptr;
};

TEST_F(MessageBoxTest, VeilsTheScreenAndWritesTheTextInTheLowerHalf) {
    fill(100, 0, 200);
    pushKeyDown(SDLK_a);
    testing::internal::CaptureStdout();
    showMessage("Mind the gap", screen);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Mind the gap\n");

    expectNear(pixelAt(screen, 10, 10), veiled(100), veiled(0), veiled(200));
    expectNear(pixelAt(screen, 639, 239), veiled(100), veiled(0), veiled(200));
    int inked = 0;
    for (int y = 240; y < 480; y += 2) {
        for (int x = 0; x < 640; x += 2) {
            if (pixelAt(screen, x, y).g < veiled(0) - 40) ++inked;
        }
    }
    EXPECT_GT(inked, 50) << "no black text below the middle";
    // A pending key ends the wait at once; only the closing pause remains.
    EXPECT_EQ(clockTicks(), 50u);
}

TEST_F(MessageBoxTest, ConsumesOnlyTheEventThatEndsTheWait) {
    SDL_Event motion;
    motion.type = SDL_MOUSEMOTION;
    motion.motion.type = SDL_MOUSEMOTION;
    motion.motion.x = 5;
    motion.motion.y = 5;
    SDL_PushEvent(&motion);
    pushKeyDown(SDLK_a);
    pushKeyDown(SDLK_b);
    showMessage("x", screen);
    SDL_Event next;
    ASSERT_EQ(SDL_PollEvent(&next), 1);
    EXPECT_EQ(next.type, SDL_KEYDOWN);
    EXPECT_EQ(next.key.keysym.sym, SDLK_b);
    EXPECT_TRUE(queueIsEmpty());

    pushMouseDown(3, 3, SDL_BUTTON_RIGHT);
    pushKeyDown(SDLK_c);
    showMessage("x", screen);
    ASSERT_EQ(SDL_PollEvent(&next), 1);
    EXPECT_EQ(next.key.keysym.sym, SDLK_c);
}

TEST_F(MessageBoxTest, PadButtonClosesTheBoxAndIsConsumedButTheStickIsNot) {
    pushPadAxis(0, 32767);
    pushPadButton(4, true);
    pushKeyDown(SDLK_b);
    showMessage("x", screen);
    SDL_Event next;
    ASSERT_EQ(SDL_PollEvent(&next), 1);
    EXPECT_EQ(next.key.keysym.sym, SDLK_b);
    EXPECT_TRUE(queueIsEmpty());
    // The press is gone, but the pad's state went on being kept meanwhile.
    pushPadButton(0, true);
    showMessage("x", screen);
    int count = 0;
    EXPECT_NE(SDL_GetKeyState(&count)[getUserKey(KeyRight)], 0);
    EXPECT_NE(SDL_GetKeyState(&count)[getUserKey(KeyJump)], 0);
}

TEST_F(MessageBoxTest, WindowCloseOnlyDismissesTheBox) {
    pushQuit();
    showMessage("x", screen);
    EXPECT_TRUE(queueIsEmpty());
}

int stalls = 0;
void countStall() { ++stalls; }

TEST_F(MessageBoxTest, SleepsWhileNothingIsPending) {
    SDL_TimerID timer = SDL_AddTimer(80, pressKeyLater, nullptr);
    ASSERT_NE(timer, nullptr);
    // Each empty poll waits 50 ms of the driven clock; a busy loop would not wait.
    stalls = 0;
    setClockStallGuard(0, countStall);
    showMessage("x", screen);
    setClockStallGuard(0, nullptr);
    EXPECT_GE(stalls, 2);
}

void dismissBox() { pushKeyDown(SDLK_SPACE); }

// A ten-second read leaves the shared enemy clocks where they were: after
// the box they tick as often as if no time had passed, instead of catching
// up twenty ticks in a burst.
TEST_F(MessageBoxTest, ReadingTimeIsNotGameTime) {
    useManualClock(1000);
    SharedClock enemies;
    ASSERT_FALSE(enemies.tick());
    const Uint32 opened = clockTicks();
    setClockStallGuard(10000, dismissBox);
    showMessage("x", screen);
    setClockStallGuard(0, nullptr);
    SDL_Event left;
    while (SDL_PollEvent(&left)) {}  // the guard's later presses
    EXPECT_EQ(clockTicks() - opened, 50u) << "only the settle after the box counts";
    int ticks = 0;
    for (int frame = 0; frame < 40; ++frame) {
        advanceClock(framePeriodMs);
        if (enemies.tick()) ++ticks;
    }
    EXPECT_EQ(ticks, 3);  // 1.3 s of frames: the first tick, then one each 500 ms
}

TEST_F(MessageBoxTest, VeilIsKeptAndRebuiltAtTheNewSizeAfterRelease) {
    EXPECT_EQ(messageOverlay(), nullptr);
    pushKeyDown(SDLK_a);
    showMessage("x", screen);
    SDL_Surface* veil = messageOverlay();
    ASSERT_NE(veil, nullptr);
    EXPECT_EQ(veil->w, 640);
    EXPECT_EQ(veil->h, 480);

    // Tint the kept veil: the next box must show the tint, not a fresh one.
    SDL_FillRect(veil, nullptr, SDL_MapRGB(veil->format, 0, 255, 0));
    fill(0, 0, 0);
    pushKeyDown(SDLK_a);
    showMessage("x", screen);
    EXPECT_EQ(messageOverlay(), veil);
    expectNear(pixelAt(screen, 10, 10), 0, veiled(0), 0);

    releaseMessageOverlay();
    EXPECT_EQ(messageOverlay(), nullptr);
    SDL_Surface* small = SDL_SetVideoMode(320, 240, 32, 0);
    ASSERT_NE(small, nullptr);
    pushKeyDown(SDLK_a);
    showMessage("x", small);
    ASSERT_NE(messageOverlay(), nullptr);
    EXPECT_EQ(messageOverlay()->w, 320);
    EXPECT_EQ(messageOverlay()->h, 240);
    releaseMessageOverlay();
    ASSERT_NE(SDL_SetVideoMode(640, 480, 32, 0), nullptr);
}

}  // namespace

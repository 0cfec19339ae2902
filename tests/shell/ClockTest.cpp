#include "shell/Clock.h"

#include <gtest/gtest.h>

namespace {

class ClockTest : public ::testing::Test {
protected:
    void TearDown() override {
        useRealClock();
        setClockSpeed(100);
    }
};

TEST_F(ClockTest, ManualClockStandsStillUntilMoved) {
    useManualClock(500);
    EXPECT_TRUE(isManualClock());
    EXPECT_EQ(clockTicks(), 500u);
    SDL_Delay(5);
    EXPECT_EQ(clockTicks(), 500u);
    advanceClock(7);
    EXPECT_EQ(clockTicks(), 507u);
}

TEST_F(ClockTest, ManualDelayAdvancesInsteadOfSleeping) {
    useManualClock(1000);
    const Uint32 wallBefore = SDL_GetTicks();
    clockDelay(60000);
    EXPECT_EQ(clockTicks(), 61000u);
    // A real minute did not pass.
    EXPECT_LT(SDL_GetTicks() - wallBefore, 1000u);
}

TEST_F(ClockTest, RealClockFollowsSdlAndReallyWaits) {
    useManualClock(5);
    useRealClock();
    EXPECT_FALSE(isManualClock());
    const Uint32 before = SDL_GetTicks();
    EXPECT_GE(clockTicks(), before);
    advanceClock(100000);
    EXPECT_LT(clockTicks() - before, 100000u);
    clockDelay(20);
    EXPECT_GE(SDL_GetTicks() - before, 20u);
}

// At half speed a frame keeps its 33 ms of game time, so every frame's rules
// (the enemies' shared clocks, the fuses) are the same; only the wall clock
// sees it last twice as long.
TEST_F(ClockTest, HalfSpeedStretchesTheFrameAndTheClockAlike) {
    useRealClock();
    const Uint32 readingBefore = clockTicks();
    setClockSpeed(50);
    EXPECT_LE(clockTicks() - readingBefore, 2u) << "the reading jumped when the speed changed";
    EXPECT_EQ(clockSpeed(), 50);

    constexpr int frames = 6;
    Uint32 deadline = clockTicks() + framePeriodMs;
    const Uint32 gameStart = clockTicks();
    const Uint32 wallStart = SDL_GetTicks();
    for (int i = 0; i < frames; ++i) paceFrame(deadline);
    const Uint32 game = clockTicks() - gameStart;
    const Uint32 wall = SDL_GetTicks() - wallStart;
    EXPECT_GE(game, frames * framePeriodMs);
    EXPECT_LT(game, frames * framePeriodMs + 30) << "a frame took more game time than 33 ms";
    EXPECT_GE(wall, 2 * frames * framePeriodMs - frames);
    // A wait of game time lasts twice as long on the wall clock.
    const Uint32 before = SDL_GetTicks();
    clockDelay(40);
    EXPECT_GE(SDL_GetTicks() - before, 79u);

    setClockSpeed(0);  // not a speed: full speed
    EXPECT_EQ(clockSpeed(), 100);
}

TEST_F(ClockTest, FrozenClockStandsAndGoesOnFromTheSameReading) {
    useManualClock(1000);
    freezeClock();
    EXPECT_TRUE(isClockFrozen());
    clockDelay(5000);  // the pause's waits
    advanceClock(33);
    EXPECT_EQ(clockTicks(), 1000u);
    freezeClock();     // a second freeze does not move the start
    thawClock();
    EXPECT_FALSE(isClockFrozen());
    EXPECT_EQ(clockTicks(), 1000u);
    advanceClock(33);
    EXPECT_EQ(clockTicks(), 1033u);
    // A second pause hides its time as well.
    freezeClock();
    clockDelay(700);
    thawClock();
    thawClock();
    EXPECT_EQ(clockTicks(), 1033u);
    clockDelay(7);
    EXPECT_EQ(clockTicks(), 1040u);
    // A new clock has no pause behind it.
    useManualClock(50);
    EXPECT_EQ(clockTicks(), 50u);
}

TEST_F(ClockTest, FrozenRealClockHidesTheWallTimeOfThePause) {
    useRealClock();
    freezeClock();
    const Uint32 frozenAt = clockTicks();
    SDL_Delay(30);
    EXPECT_EQ(clockTicks(), frozenAt);
    thawClock();
    EXPECT_LT(clockTicks() - frozenAt, 20u);
    EXPECT_GT(SDL_GetTicks() - clockTicks(), 25u);
}

}  // namespace

#include "shell/Clock.h"

#include <gtest/gtest.h>

namespace {

class ClockTest : public ::testing::Test {
protected:
    void TearDown() override { useRealClock(); }
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

}  // namespace

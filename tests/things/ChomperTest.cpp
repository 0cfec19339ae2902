#include "things/Chomper.h"

#include "shell/Clock.h"
#include "tests/support/TestSupport.h"
#include "tests/things/EnemyTestSupport.h"
#include "things/Zipper.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

using enemytest::makeGrid;

class ChomperTest : public ::testing::Test {
protected:
    void SetUp() override { useManualClock(1000); }

    // Runs n updates, the clock standing still.
    void run(Chomper& chomper, int n) {
        for (int i = 0; i < n; ++i) chomper.update(grid, things);
    }

    ScratchDir scratch;
    Grid grid = makeGrid(20, 15);
    ThingList things;
};

TEST_F(ChomperTest, WalksLeftToTheWallTurnsOnTheSpotAndWalksBack) {
    grid[3][3] = 1;
    Chomper chomper(5, 3);
    EXPECT_EQ(160, chomper.getRect()->x);
    EXPECT_EQ(96, chomper.getRect()->y);
    EXPECT_EQ(-1, chomper.getDirection());
    run(chomper, 1);
    EXPECT_EQ(159, chomper.getRect()->x);
    run(chomper, 31);
    EXPECT_EQ(128, chomper.getRect()->x) << "after 32 frames";
    EXPECT_EQ(-1, chomper.getDirection());
    run(chomper, 1);
    EXPECT_EQ(128, chomper.getRect()->x) << "the step into the wall is taken back";
    EXPECT_EQ(1, chomper.getDirection());
    run(chomper, 1);
    EXPECT_EQ(129, chomper.getRect()->x);
    EXPECT_EQ(96, chomper.getRect()->y) << "never moves vertically";
}

TEST_F(ChomperTest, ZipperWalksTwoPixelsAndTurnsTheSameWay) {
    grid[3][3] = 1;
    Zipper zipper(5, 3);
    run(zipper, 1);
    EXPECT_EQ(158, zipper.getRect()->x);
    run(zipper, 15);
    EXPECT_EQ(128, zipper.getRect()->x);
    run(zipper, 1);
    EXPECT_EQ(128, zipper.getRect()->x);
    EXPECT_EQ(1, zipper.getDirection());
    run(zipper, 1);
    EXPECT_EQ(130, zipper.getRect()->x);
}

TEST_F(ChomperTest, KeepsItsHeightOverEmptyCellsAndWalksOffTheGrid) {
    Chomper chomper(0, 14);
    run(chomper, 100);
    EXPECT_EQ(-100, chomper.getRect()->x);
    EXPECT_EQ(448, chomper.getRect()->y);
}

TEST_F(ChomperTest, PhaseIsSharedAndFlipsEvery500Milliseconds) {
    Chomper a(5, 3);
    Zipper b(10, 6);
    a.update(grid, things);
    b.update(grid, things);
    EXPECT_EQ(0, chompPhase()) << "the first update only starts the clock";
    advanceClock(1);
    a.update(grid, things);
    EXPECT_EQ(1, chompPhase());
    b.update(grid, things);
    EXPECT_EQ(1, chompPhase()) << "the second walker does not flip it back";
    EXPECT_EQ(1, a.getFrame()) << "walking left, phase 1";
    EXPECT_EQ(1, b.getFrame());
    advanceClock(499);
    a.update(grid, things);
    b.update(grid, things);
    EXPECT_EQ(1, chompPhase()) << "flips only strictly after the deadline";
    advanceClock(1);
    a.update(grid, things);
    b.update(grid, things);
    EXPECT_EQ(0, chompPhase());
    // One flip per 500 ms however many updates happen in between.
    int flips = 0;
    int last = chompPhase();
    for (int ms = 0; ms < 2000; ms += 10) {
        advanceClock(10);
        a.update(grid, things);
        b.update(grid, things);
        EXPECT_EQ(a.getFrame(), b.getFrame());
        if (chompPhase() != last) ++flips;
        last = chompPhase();
    }
    EXPECT_EQ(4, flips);
}

TEST_F(ChomperTest, PhaseCatchesUpAfterAPauseOneFlipPerUpdate) {
    Chomper chomper(5, 3);
    chomper.update(grid, things);  // deadline 1000
    advanceClock(1);
    chomper.update(grid, things);  // flip, deadline 1500
    ASSERT_EQ(1, chompPhase());
    advanceClock(1600);  // now 2601: the deadlines 1500, 2000 and 2500 have passed
    std::vector<int> seen;
    for (int i = 0; i < 5; ++i) {
        chomper.update(grid, things);
        seen.push_back(chompPhase());
    }
    EXPECT_EQ((std::vector<int>{0, 1, 0, 0, 0}), seen);
}

TEST_F(ChomperTest, FrameShowsDirectionAndPhase) {
    grid[3][3] = 1;
    Chomper chomper(6, 3);
    chomper.update(grid, things);
    EXPECT_EQ(0, chomper.getFrame());
    advanceClock(1);
    chomper.update(grid, things);
    EXPECT_EQ(1, chomper.getFrame());
    for (int i = 0; i < 100 && chomper.getDirection() < 0; ++i) chomper.update(grid, things);
    ASSERT_EQ(1, chomper.getDirection());
    EXPECT_EQ(3, chomper.getFrame());
    advanceClock(500);
    chomper.update(grid, things);
    EXPECT_EQ(2, chomper.getFrame());
}

TEST_F(ChomperTest, DrawsTheCurrentFrameOfItsStripThroughTheCamera) {
    enemytest::writeStrip("chomperanim", 4, 32, 32);
    SDL_Surface* screen = SDL_GetVideoSurface();
    Chomper chomper(5, 3);
    const SDL_Rect camera = {100, 40, 640, 480};
    chomper.update(grid, things);  // x 159, frame 0
    enemytest::clearScreen(screen);
    chomper.draw(screen, &camera);
    EXPECT_TRUE(enemytest::isColour(pixelAt(screen, 59, 56), enemytest::stripColours[0]));
    EXPECT_TRUE(enemytest::isColour(pixelAt(screen, 90, 87), enemytest::stripColours[0]));
    EXPECT_TRUE(enemytest::isBlack(pixelAt(screen, 91, 56))) << "one frame wide";
    EXPECT_TRUE(enemytest::isBlack(pixelAt(screen, 58, 56)));
    advanceClock(1);
    chomper.update(grid, things);  // frame 1
    enemytest::clearScreen(screen);
    chomper.draw(screen, &camera);
    EXPECT_TRUE(enemytest::isColour(pixelAt(screen, 58, 56), enemytest::stripColours[1]));
}

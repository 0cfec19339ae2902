#include "things/Flapper.h"

#include "shell/Clock.h"
#include "tests/support/TestSupport.h"
#include "tests/things/EnemyTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

using enemytest::makeGrid;

class FlapperTest : public ::testing::Test {
protected:
    void SetUp() override { useManualClock(0); }

    ScratchDir scratch;
    Grid grid = makeGrid(20, 15);
    ThingList things;
};

TEST_F(FlapperTest, CrossesOpenSpaceDiagonallyRightAndDown) {
    Flapper flapper(3, 3);
    EXPECT_EQ(96, flapper.getRect()->x);
    EXPECT_EQ(96, flapper.getRect()->y);
    flapper.update(grid, things);
    EXPECT_EQ(97, flapper.getRect()->x);
    EXPECT_EQ(97, flapper.getRect()->y);
    for (int i = 0; i < 9; ++i) flapper.update(grid, things);
    EXPECT_EQ(106, flapper.getRect()->x);
    EXPECT_EQ(106, flapper.getRect()->y);
}

TEST_F(FlapperTest, WallOnOneAxisFlipsOnlyThatAxis) {
    for (int row = 0; row < 15; ++row) grid[4][row] = 1;
    Flapper flapper(3, 3);
    flapper.update(grid, things);
    EXPECT_EQ(96, flapper.getRect()->x) << "the step into the wall is taken back";
    EXPECT_EQ(97, flapper.getRect()->y) << "the other axis keeps moving";
    EXPECT_EQ(-1, flapper.getDx());
    EXPECT_EQ(1, flapper.getDy());
    flapper.update(grid, things);
    EXPECT_EQ(95, flapper.getRect()->x);
    EXPECT_EQ(98, flapper.getRect()->y);
}

TEST_F(FlapperTest, CornerFlipsBothAxesInTheSameFrame) {
    grid[4][3] = 1;  // right
    grid[3][4] = 1;  // below
    Flapper flapper(3, 3);
    flapper.update(grid, things);
    EXPECT_EQ(96, flapper.getRect()->x);
    EXPECT_EQ(96, flapper.getRect()->y);
    EXPECT_EQ(-1, flapper.getDx());
    EXPECT_EQ(-1, flapper.getDy());
    flapper.update(grid, things);
    EXPECT_EQ(95, flapper.getRect()->x);
    EXPECT_EQ(95, flapper.getRect()->y);
}

TEST_F(FlapperTest, DiagonalWallCornerAloneDoesNotStopIt) {
    // Only the cell diagonally ahead is a wall: after x moves the box covers
    // column 4 on row 3 only, so x is free; then y covers (4, 4).
    grid[4][4] = 1;
    Flapper flapper(3, 3);
    flapper.update(grid, things);
    EXPECT_EQ(97, flapper.getRect()->x);
    EXPECT_EQ(96, flapper.getRect()->y);
    EXPECT_EQ(1, flapper.getDx());
    EXPECT_EQ(-1, flapper.getDy());
}

TEST_F(FlapperTest, JittersInAOneTileShaftAndBouncesBetweenItsEnds) {
    for (int row = 0; row < 15; ++row) {
        grid[2][row] = 1;
        grid[4][row] = 14;
    }
    grid[3][0] = 17;
    grid[3][6] = 1;
    Flapper flapper(3, 1);
    int top = 1000;
    int bottom = -1000;
    int previousDx = flapper.getDx();
    for (int i = 0; i < 300; ++i) {
        flapper.update(grid, things);
        ASSERT_EQ(96, flapper.getRect()->x) << "frame " << i;
        EXPECT_EQ(-previousDx, flapper.getDx()) << "frame " << i;
        previousDx = flapper.getDx();
        top = std::min<int>(top, flapper.getRect()->y);
        bottom = std::max<int>(bottom, flapper.getRect()->y);
    }
    EXPECT_EQ(32, top);
    EXPECT_EQ(160, bottom);
}

TEST_F(FlapperTest, WingsBeatEvery500MillisecondsAllInStep) {
    Flapper a(3, 3);
    Flapper b(10, 8);
    std::vector<int> seen;
    for (int ms = 0; ms <= 2600; ms += 10) {
        a.update(grid, things);
        b.update(grid, things);
        ASSERT_EQ(a.getFrame(), b.getFrame()) << "at " << ms << " ms";
        if (seen.empty() || seen.back() != a.getFrame()) seen.push_back(a.getFrame());
        advanceClock(10);
    }
    // The clock starts at the first update; the first beat comes just after
    // it, then one every 500 ms.
    EXPECT_EQ((std::vector<int>{0, 1, 2, 3, 0, 1, 2}), seen);
}

TEST_F(FlapperTest, DrawsItsCurrentWingBeatFrame) {
    enemytest::writeStrip("flapperanim", 4, 32, 32);
    SDL_Surface* screen = SDL_GetVideoSurface();
    const SDL_Rect camera = {0, 0, 640, 480};
    Flapper flapper(3, 3);
    flapper.update(grid, things);  // (97, 97), frame 0
    enemytest::clearScreen(screen);
    flapper.draw(screen, &camera);
    EXPECT_TRUE(enemytest::isColour(pixelAt(screen, 97, 97), enemytest::stripColours[0]));
    EXPECT_TRUE(enemytest::isColour(pixelAt(screen, 128, 128), enemytest::stripColours[0]));
    EXPECT_TRUE(enemytest::isBlack(pixelAt(screen, 129, 97)));
    advanceClock(1001);
    flapper.update(grid, things);  // two beats due, one taken: frame 1
    flapper.update(grid, things);  // the second: frame 2
    enemytest::clearScreen(screen);
    flapper.draw(screen, &camera);
    EXPECT_EQ(2, flapper.getFrame());
    EXPECT_TRUE(enemytest::isColour(pixelAt(screen, 99, 99), enemytest::stripColours[2]));
}

#include "things/Maimframe.h"

#include "level/Level.h"
#include "player/Player.h"
#include "tests/support/TestSupport.h"
#include "tests/things/EnemyTestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

using enemytest::makeGrid;

namespace {
constexpr int floorRow = 14;
}  // namespace

class MaimframeTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (auto& column : grid) column[floorRow] = 1;
    }

    void run(Maimframe& maimframe, int n) {
        for (int i = 0; i < n; ++i) maimframe.update(grid, things);
    }

    // Seeds rand and returns the sideways speed the next jump will take.
    int seedAndPeekJumpSpeed(unsigned seed) {
        std::srand(seed);
        const int vx = std::rand() % 20 - 10;
        std::srand(seed);
        return vx;
    }

    ScratchDir scratch;
    Level level{1, SDL_GetVideoSurface()};
    Grid grid = makeGrid(100, 15);  // wide enough that no jump reaches an end
    ThingList things;
};

TEST_F(MaimframeTest, WithoutImageItIsOneTileAndWithOneItTakesTheImageSize) {
    Maimframe plain(3, 5);
    EXPECT_EQ(96, plain.getRect()->x);
    EXPECT_EQ(160, plain.getRect()->y);
    EXPECT_EQ(32, plain.getRect()->w);
    EXPECT_EQ(32, plain.getRect()->h);
    scratch.writeImage(32, "maimframe", 96, 64);
    Maimframe big(3, 5);
    EXPECT_EQ(96, big.getRect()->w);
    EXPECT_EQ(64, big.getRect()->h);
    EXPECT_EQ(0, big.getState());
    EXPECT_EQ(3, big.getVx());
}

TEST_F(MaimframeTest, WalksThreeHundredAndOneFramesWaitsThirtyOneThenLeaps) {
    const int expectedVx = seedAndPeekJumpSpeed(7);
    Maimframe maimframe(20, 13);
    maimframe.setLevel(&level);
    run(maimframe, 300);
    EXPECT_EQ(0, maimframe.getState());
    EXPECT_EQ(300, maimframe.getWalkTime());
    EXPECT_EQ(640 + 900, maimframe.getRect()->x);
    run(maimframe, 1);
    EXPECT_EQ(1, maimframe.getState()) << "waiting at the 301st update";
    EXPECT_EQ(0, maimframe.getWalkTime());
    const SDL_Rect waitingAt = *maimframe.getRect();
    run(maimframe, 30);
    EXPECT_EQ(1, maimframe.getState());
    EXPECT_EQ(waitingAt.x, maimframe.getRect()->x) << "nothing moves while waiting";
    run(maimframe, 1);
    EXPECT_EQ(2, maimframe.getState()) << "jumping at the 332nd update";
    EXPECT_EQ(expectedVx, maimframe.getVx());
    EXPECT_EQ(-20, maimframe.getVy());
    EXPECT_EQ(waitingAt.x, maimframe.getRect()->x);
    EXPECT_EQ(416, maimframe.getRect()->y);
    run(maimframe, 1);
    EXPECT_EQ(416 - 19, maimframe.getRect()->y) << "first move up at the 333rd";
    EXPECT_EQ(waitingAt.x + expectedVx, maimframe.getRect()->x);
}

TEST_F(MaimframeTest, LeapRises190PixelsIn19FramesAndLandsWithAShake) {
    seedAndPeekJumpSpeed(11);
    Maimframe maimframe(20, 13);
    maimframe.setLevel(&level);
    run(maimframe, 332);
    ASSERT_EQ(2, maimframe.getState());
    std::vector<int> heights;
    for (int i = 0; i < 19; ++i) {
        run(maimframe, 1);
        heights.push_back(maimframe.getRect()->y);
    }
    EXPECT_EQ(416 - 19, heights.front());
    EXPECT_EQ(416 - 190, heights.back());
    run(maimframe, 1);
    EXPECT_EQ(226, maimframe.getRect()->y) << "speed 0 at the top";
    run(maimframe, 19);
    EXPECT_EQ(416, maimframe.getRect()->y) << "back on the floor, not yet landed";
    EXPECT_EQ(2, maimframe.getState());
    EXPECT_EQ(0, level.getShake());
    const int xBefore = maimframe.getRect()->x;
    run(maimframe, 1);
    EXPECT_EQ(416, maimframe.getRect()->y);
    EXPECT_EQ(0, maimframe.getState());
    EXPECT_EQ(8, level.getShake());
    EXPECT_EQ(3, maimframe.getVx()) << "walks right after every landing";
    EXPECT_EQ(xBefore + 3, maimframe.getRect()->x) << "the landing frame moves sideways too";
    run(maimframe, 1);
    EXPECT_EQ(xBefore + 6, maimframe.getRect()->x);
    EXPECT_EQ(1, maimframe.getWalkTime());
}

TEST_F(MaimframeTest, HittingACeilingEndsTheJumpLikeALanding) {
    for (auto& column : grid) column[8] = 17;  // ceiling cells end at y = 288
    seedAndPeekJumpSpeed(3);
    Maimframe maimframe(20, 13);
    maimframe.setLevel(&level);
    run(maimframe, 332);
    run(maimframe, 9);  // up to 304 after 7 frames, 292 after 8, the 9th meets y 288
    EXPECT_EQ(288, maimframe.getRect()->y);
    EXPECT_EQ(0, maimframe.getState());
    EXPECT_EQ(8, level.getShake());
    EXPECT_EQ(3, maimframe.getVx());
    run(maimframe, 50);
    EXPECT_EQ(288, maimframe.getRect()->y) << "a walking Maimframe does not fall";
}

TEST_F(MaimframeTest, WalkingLeftIntoAWallTurnsRight) {
    grid[3][13] = 1;
    Maimframe maimframe(5, 13);
    maimframe.setWalk(0, -3);
    run(maimframe, 10);
    EXPECT_EQ(130, maimframe.getRect()->x);
    run(maimframe, 1);
    EXPECT_EQ(128, maimframe.getRect()->x) << "moves the pixels it can, then stops";
    EXPECT_EQ(3, maimframe.getVx());
    run(maimframe, 1);
    EXPECT_EQ(131, maimframe.getRect()->x);
}

TEST_F(MaimframeTest, WideBoxIsTestedOverItsWholeWidth) {
    scratch.writeImage(32, "maimframe", 96, 32);
    Maimframe maimframe(0, 5);
    grid[2][5] = 1;
    EXPECT_TRUE(maimframe.blocked(grid)) << "the third column of its box";
    grid[2][5] = 0;
    grid[3][5] = 14;
    EXPECT_FALSE(maimframe.blocked(grid));
    maimframe.getRect()->x = 1;
    EXPECT_TRUE(maimframe.blocked(grid)) << "one pixel into a fourth column";
}

TEST_F(MaimframeTest, BoxStartingAFullTileOffTheGridIsBlockedByNothing) {
    scratch.writeImage(32, "maimframe", 96, 96);
    Maimframe maimframe(0, 0);
    grid[0][5] = 1;
    grid[1][5] = 1;
    grid[5][0] = 1;
    grid[5][1] = 1;
    SDL_Rect* box = maimframe.getRect();
    box->y = 160;
    box->x = -31;
    EXPECT_TRUE(maimframe.blocked(grid));
    box->x = -32;
    EXPECT_FALSE(maimframe.blocked(grid)) << "its box reaches into columns 0 and 1";
    box->x = 160;
    box->y = -31;
    EXPECT_TRUE(maimframe.blocked(grid));
    box->y = -32;
    EXPECT_FALSE(maimframe.blocked(grid)) << "its box reaches into rows 0 and 1";
}

TEST_F(MaimframeTest, WithoutALevelItsShakesAreSkipped) {
    Maimframe orphan(20, 13);
    run(orphan, 372);  // walk, wait, leap and land
    EXPECT_EQ(0, orphan.getState());
    orphan.kill();
    EXPECT_TRUE(orphan.isDead());
}

TEST_F(MaimframeTest, BobOffsetIsTheTruncatedArc) {
    const int expected[30] = {0,   9,   19,  28,  35,  41,  45,  47,  47,  45,
                              41,  35,  28,  19,  9,   0,   -9,  -19, -28, -35,
                              -41, -45, -47, -47, -45, -41, -35, -28, -19, -9};
    const Maimframe maimframe(0, 0);
    for (int n = 0; n < 30; ++n) EXPECT_EQ(expected[n], maimframe.bobOffset(n)) << "n " << n;
}

class MaimframeDrawTest : public MaimframeTest {
protected:
    void SetUp() override {
        MaimframeTest::SetUp();
        scratch.writeImage(32, "maimframe", 8, 8, 255, 0, 0);
        enemytest::clearScreen(screen);
    }

    // Whether an 8-by-8 copy has its top-left corner exactly at (x, y).
    bool copyAt(int x, int y) {
        return enemytest::isColour(pixelAt(screen, x, y), 255, 0, 0) &&
               enemytest::isColour(pixelAt(screen, x + 7, y + 7), 255, 0, 0) &&
               enemytest::isBlack(pixelAt(screen, x - 1, y)) &&
               enemytest::isBlack(pixelAt(screen, x, y - 1)) &&
               enemytest::isBlack(pixelAt(screen, x + 8, y + 7)) &&
               enemytest::isBlack(pixelAt(screen, x + 7, y + 8));
    }

    SDL_Surface* screen = SDL_GetVideoSurface();
    const SDL_Rect camera = {0, 0, 640, 480};
};

TEST_F(MaimframeDrawTest, FrontCopyHopsInTheFirstHalfOfTheCycle) {
    Maimframe maimframe(5, 5);  // sx, sy = 160, 160
    maimframe.setWalk(7, 3);
    maimframe.draw(screen, &camera);
    EXPECT_TRUE(copyAt(160 + 21, 160 - 47));
    EXPECT_TRUE(copyAt(160 - 21, 160));
    EXPECT_TRUE(enemytest::isBlack(pixelAt(screen, 160, 160)));
}

TEST_F(MaimframeDrawTest, RearCopyHopsInTheSecondHalfAndSpreadFollowsTheDirection) {
    Maimframe maimframe(5, 5);
    maimframe.setWalk(22, -3);
    maimframe.draw(screen, &camera);
    EXPECT_TRUE(copyAt(160 - 24, 160));
    EXPECT_TRUE(copyAt(160 + 24, 160 - 47));
}

TEST_F(MaimframeDrawTest, CopiesMeetAtTheStartOfTheCycleAndFollowTheCamera) {
    Maimframe maimframe(5, 5);
    maimframe.setWalk(30, 3);
    const SDL_Rect moved = {100, 50, 640, 480};
    maimframe.draw(screen, &moved);
    EXPECT_TRUE(copyAt(60, 110));
    EXPECT_TRUE(enemytest::isBlack(pixelAt(screen, 160, 160)));
}

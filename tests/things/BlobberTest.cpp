#include "things/Blobber.h"

#include "shell/Clock.h"
#include "tests/support/TestSupport.h"
#include "tests/things/EnemyTestSupport.h"

#include <gtest/gtest.h>

#include <vector>

using enemytest::makeGrid;

class BlobberTest : public ::testing::Test {
protected:
    void SetUp() override { useManualClock(0); }

    SDL_Rect at(int x, int y) {
        return SDL_Rect{static_cast<Sint16>(x), static_cast<Sint16>(y), 32, 32};
    }

    ScratchDir scratch;
    Grid grid = makeGrid(20, 15);
    ThingList things;
};

TEST_F(BlobberTest, StartsUpAndRightThenHeadsForThePlayer) {
    const SDL_Rect player = at(64, 300);  // lower left of the Blobber
    Blobber blobber(5, 5);
    blobber.setTarget(&player);
    blobber.update(grid, things);
    EXPECT_EQ(161, blobber.getRect()->x) << "the heading of program start";
    EXPECT_EQ(159, blobber.getRect()->y);
    advanceClock(1);
    blobber.update(grid, things);  // moves, then re-aims
    EXPECT_EQ(162, blobber.getRect()->x);
    EXPECT_EQ(158, blobber.getRect()->y);
    EXPECT_EQ(-1, blobStepX());
    EXPECT_EQ(1, blobStepY());
    for (int i = 1; i <= 3; ++i) {
        blobber.update(grid, things);
        EXPECT_EQ(162 - i, blobber.getRect()->x);
        EXPECT_EQ(158 + i, blobber.getRect()->y);
    }
}

TEST_F(BlobberTest, EqualCoordinatesHeadUpAndLeft) {
    // Exactly where the Blobber stands when it re-aims.
    const SDL_Rect player = at(162, 158);
    Blobber blobber(5, 5);
    blobber.setTarget(&player);
    blobber.update(grid, things);
    advanceClock(1);
    blobber.update(grid, things);
    EXPECT_EQ(-1, blobStepX());
    EXPECT_EQ(-1, blobStepY());
    blobber.update(grid, things);
    EXPECT_EQ(161, blobber.getRect()->x);
    EXPECT_EQ(157, blobber.getRect()->y);
}

TEST_F(BlobberTest, TwoBlobbersMoveWithOneSharedHeading) {
    const SDL_Rect player = at(300, 200);
    Blobber first(3, 3);
    Blobber second(12, 10);
    first.setTarget(&player);
    second.setTarget(&player);
    int reaims = 0;
    int sameStepFrames = 0;
    int firstFrameChanges = 0;
    for (int frame = 0; frame < 200; ++frame) {
        const SDL_Rect a = *first.getRect();
        const SDL_Rect b = *second.getRect();
        const int headingX = blobStepX();
        const int headingY = blobStepY();
        const int firstFrame = first.getFrame();
        first.update(grid, things);
        if (first.getFrame() != firstFrame) ++firstFrameChanges;
        const int aimedX = blobStepX();
        const int aimedY = blobStepY();
        second.update(grid, things);
        // The first one moves, then re-aims from where it stands; the second
        // already moves with the new heading and does not re-aim again.
        ASSERT_EQ(headingX, first.getRect()->x - a.x) << "frame " << frame;
        ASSERT_EQ(headingY, first.getRect()->y - a.y) << "frame " << frame;
        ASSERT_EQ(aimedX, second.getRect()->x - b.x) << "frame " << frame;
        ASSERT_EQ(aimedY, second.getRect()->y - b.y) << "frame " << frame;
        ASSERT_EQ(aimedX, blobStepX());
        ASSERT_EQ(aimedY, blobStepY());
        ASSERT_EQ(0, second.getFrame()) << "only the first one re-aims and animates";
        if (aimedX != headingX || aimedY != headingY) {
            ++reaims;
        } else {
            ++sameStepFrames;
        }
        advanceClock(33);
    }
    EXPECT_GE(reaims, 2);
    EXPECT_GE(sameStepFrames, 180);
    EXPECT_EQ(14, firstFrameChanges) << "one tick per 500 ms over 6.6 seconds";
}

TEST_F(BlobberTest, FrameOfASingleBlobberAdvancesEvery500Milliseconds) {
    const SDL_Rect player = at(0, 0);
    Blobber blobber(5, 5);
    blobber.setTarget(&player);
    std::vector<int> seen;
    for (int ms = 0; ms <= 2200; ms += 20) {
        blobber.update(grid, things);
        if (seen.empty() || seen.back() != blobber.getFrame()) seen.push_back(blobber.getFrame());
        advanceClock(20);
    }
    EXPECT_EQ((std::vector<int>{0, 1, 2, 3, 0, 1}), seen);
}

TEST_F(BlobberTest, BlockedAxisWaitsWithoutTurning) {
    const SDL_Rect player = at(600, 0);
    grid[6][5] = 1;
    Blobber blobber(5, 5);
    blobber.setTarget(&player);
    for (int i = 1; i <= 3; ++i) {
        blobber.update(grid, things);
        EXPECT_EQ(160, blobber.getRect()->x);
        EXPECT_EQ(160 - i, blobber.getRect()->y) << "the free axis keeps moving";
        EXPECT_EQ(1, blobStepX());
    }
    // Once above the wall the waiting axis moves on.
    for (int i = 0; i < 40; ++i) blobber.update(grid, things);
    EXPECT_GT(blobber.getRect()->x, 160);
}

TEST_F(BlobberTest, ReaimsAtEveryUpdateUntilTheClockHasCaughtUp) {
    const SDL_Rect player = at(0, 0);
    Blobber blobber(5, 5);
    blobber.setTarget(&player);
    blobber.update(grid, things);  // deadline 0
    advanceClock(1600);            // the deadlines 0, 500, 1000 and 1500 have passed
    std::vector<int> frames;
    for (int i = 0; i < 6; ++i) {
        blobber.update(grid, things);
        frames.push_back(blobber.getFrame());
    }
    EXPECT_EQ((std::vector<int>{1, 2, 3, 0, 0, 0}), frames);
}

TEST_F(BlobberTest, DrawsTheFrameItHasReached) {
    enemytest::writeStrip("blobberanim", 4, 32, 32);
    SDL_Surface* screen = SDL_GetVideoSurface();
    const SDL_Rect camera = {32, 64, 640, 480};
    const SDL_Rect player = at(0, 0);
    Blobber blobber(5, 5);
    blobber.setTarget(&player);
    blobber.update(grid, things);  // (161, 159), frame 0
    enemytest::clearScreen(screen);
    blobber.draw(screen, &camera);
    EXPECT_TRUE(enemytest::isColour(pixelAt(screen, 129, 95), enemytest::stripColours[0]));
    EXPECT_TRUE(enemytest::isBlack(pixelAt(screen, 128, 95)));
    EXPECT_TRUE(enemytest::isBlack(pixelAt(screen, 129, 94)));
    advanceClock(1);
    blobber.update(grid, things);  // (162, 158), frame 1
    enemytest::clearScreen(screen);
    blobber.draw(screen, &camera);
    EXPECT_TRUE(enemytest::isColour(pixelAt(screen, 130, 94), enemytest::stripColours[1]));
    EXPECT_TRUE(enemytest::isColour(pixelAt(screen, 161, 125), enemytest::stripColours[1]));
}

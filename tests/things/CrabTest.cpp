#include "things/Crab.h"

#include "menus/Settings.h"
#include "tests/support/TestSupport.h"
#include "tests/things/EnemyTestSupport.h"

#include <gtest/gtest.h>

class CrabTest : public ::testing::Test {
protected:
    ScratchDir scratch;
    SDL_Surface* screen = SDL_GetVideoSurface();
    const SDL_Rect camera = {0, 0, 640, 480};
};

TEST_F(CrabTest, WithoutImageItIsHalfATileWideAndOneTileHigh) {
    Crab crab(3, 5);
    EXPECT_EQ(96, crab.getRect()->x);
    EXPECT_EQ(160, crab.getRect()->y);
    EXPECT_EQ(16, crab.getRect()->w);
    EXPECT_EQ(32, crab.getRect()->h);
    EXPECT_EQ(0, crab.getFrameClip().x);
    EXPECT_EQ(16, crab.getFrameClip().w);
    EXPECT_EQ(32, crab.getFrameClip().h);
    tileSize = 16;
    Crab small(3, 5);
    EXPECT_EQ(8, small.getRect()->w);
    EXPECT_EQ(16, small.getRect()->h);
}

TEST_F(CrabTest, ImageHoldsTwoFramesSideBySide) {
    scratch.writeImage(32, "crabanim", 65, 40);
    Crab crab(3, 5);
    EXPECT_EQ(32, crab.getRect()->w) << "the odd pixel column is dropped";
    EXPECT_EQ(40, crab.getRect()->h);
    EXPECT_EQ(0, crab.getFrameClip().x);
    EXPECT_EQ(0, crab.getFrameClip().y);
    EXPECT_EQ(32, crab.getFrameClip().w);
    EXPECT_EQ(40, crab.getFrameClip().h);
}

TEST_F(CrabTest, FirstTouchShowsTheRightFrameForGoodAndNeverBlocks) {
    scratch.writeImage(32, "crabanim", 48, 20);
    Crab crab(3, 5);
    EXPECT_EQ(TouchNothing, crab.touch(nullptr));
    EXPECT_EQ(24, crab.getFrameClip().x);
    EXPECT_EQ(TouchNothing, crab.touch(nullptr));
    EXPECT_EQ(24, crab.getFrameClip().x) << "later touches change nothing";
    EXPECT_EQ(24, crab.getRect()->w);
    EXPECT_FALSE(crab.isDead());
}

TEST_F(CrabTest, DrawsOnlyTheShownFrame) {
    enemytest::writeStrip("crabanim", 2, 20, 24);
    Crab crab(3, 5);
    enemytest::clearScreen(screen);
    crab.draw(screen, &camera);
    EXPECT_TRUE(enemytest::isColour(pixelAt(screen, 96, 160), enemytest::stripColours[0]));
    EXPECT_TRUE(enemytest::isColour(pixelAt(screen, 115, 183), enemytest::stripColours[0]));
    EXPECT_TRUE(enemytest::isBlack(pixelAt(screen, 116, 160)));
    crab.touch(nullptr);
    enemytest::clearScreen(screen);
    const SDL_Rect moved = {16, 8, 640, 480};
    crab.draw(screen, &moved);
    EXPECT_TRUE(enemytest::isColour(pixelAt(screen, 80, 152), enemytest::stripColours[1]));
    EXPECT_TRUE(enemytest::isColour(pixelAt(screen, 99, 175), enemytest::stripColours[1]));
    EXPECT_TRUE(enemytest::isBlack(pixelAt(screen, 100, 152)));
}

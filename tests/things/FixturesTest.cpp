// Milk, Door, Portal and the two menu objects, alone and in a running level.
#include "level/Level.h"
#include "menus/Settings.h"
#include "things/Door.h"
#include "things/MenuControls.h"
#include "things/MenuOptions.h"
#include "things/Milk.h"
#include "things/Portal.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace {

template <typename Kind>
Kind* findThing(const Level& level) {
    for (Thing* thing : level.getThings()) {
        if (Kind* found = dynamic_cast<Kind*>(thing)) return found;
    }
    return nullptr;
}

// A 5 by 3 level: a floor along the bottom row, the Player starting at cell
// (0, 1) and `object` (a kind number with its parameters) in cell (1, 1),
// right beside the Player.
void writeCorridor(const ScratchDir& dir, const std::string& object) {
    dir.write("data/levels/corridor.lvl",
              "5 3\n0 4 1\n0 " + object + " 1\n0 0 1\n0 0 1\n0 0 1\nCorridor\n");
}

}  // namespace

TEST(Milk, GivesALifeOnceThenIsUsedUp) {
    ScratchDir dir;
    Level level(1, SDL_GetVideoSurface());
    Milk milk(2, 2);
    EXPECT_EQ(TouchCollected, milk.touch(&level.getPlayer()));
    EXPECT_TRUE(milk.isDead());
    EXPECT_EQ(TouchNothing, milk.touch(&level.getPlayer()));
    EXPECT_TRUE(milk.isDead());
}

TEST(Door, WithoutKeysStaysSolid) {
    ScratchDir dir;
    Level level(1, SDL_GetVideoSurface());
    Player& player = level.getPlayer();
    player.setKeys(0);
    Door door(1, 1);
    EXPECT_EQ(TouchSolid, door.touch(&player));
    EXPECT_EQ(TouchSolid, door.touch(&player));
    EXPECT_FALSE(door.isDead());
    EXPECT_EQ(0, player.getKeys());
}

TEST(Door, TakesOneKeyAndOpensOnce) {
    ScratchDir dir;
    Level level(1, SDL_GetVideoSurface());
    Player& player = level.getPlayer();
    player.setKeys(2);
    Door door(1, 1);
    EXPECT_EQ(TouchNothing, door.touch(&player));
    EXPECT_TRUE(door.isDead());
    EXPECT_EQ(1, player.getKeys());
    // Touched again in the same frame: no second key.
    EXPECT_EQ(TouchNothing, door.touch(&player));
    EXPECT_EQ(1, player.getKeys());
}


TEST(Portal, ReadsTargetCellInLevelPixelsAtBothTileSizes) {
    ScratchDir dir;
    std::istringstream large("4 7 1");
    Portal big(0, 0);
    large >> big;
    EXPECT_EQ(128, big.getTargetX());
    EXPECT_EQ(224, big.getTargetY());
    // The level file goes on right after the two numbers.
    int next = 0;
    ASSERT_TRUE(large >> next);
    EXPECT_EQ(1, next);

    tileSize = 16;
    std::istringstream small("\n 4\n7 ");
    Portal little(0, 0);
    small >> little;
    EXPECT_EQ(64, little.getTargetX());
    EXPECT_EQ(112, little.getTargetY());
}


TEST(Portal, BeforeItsTargetsAreReadItLeadsToItsOwnCellInPixels) {
    ScratchDir dir;
    const Portal portal(3, 2);
    EXPECT_EQ(portal.getTargetX(), 3 * 32);
    EXPECT_EQ(portal.getTargetY(), 2 * 32);
}

TEST(Portal, TouchMovesThePlayerToTheTarget) {
    ScratchDir dir;
    Level level(1, SDL_GetVideoSurface());
    Player& player = level.getPlayer();
    player.setPosition(10, 20);
    std::istringstream in("4 7");
    Portal portal(0, 0);
    in >> portal;
    EXPECT_EQ(TouchNothing, portal.touch(&player));
    EXPECT_EQ(128, player.getRect()->x);
    EXPECT_EQ(224, player.getRect()->y);
    EXPECT_EQ(TouchNothing, portal.touch(nullptr));
}

TEST(MenuObjects, RaiseTheirOwnFlagOnly) {
    ScratchDir dir;
    Level level(0, SDL_GetVideoSurface());
    Player& player = level.getPlayer();
    MenuOptions options(1, 1);
    EXPECT_EQ(TouchNothing, options.touch(&player));
    EXPECT_TRUE(player.peekFlag(OpenOptions));
    EXPECT_FALSE(player.peekFlag(OpenControls));
    EXPECT_FALSE(options.isDead());

    MenuControls controls(2, 1);
    EXPECT_EQ(TouchNothing, controls.touch(&player));
    EXPECT_TRUE(player.peekFlag(OpenControls));
    EXPECT_FALSE(controls.isDead());
}

TEST(FixtureImages, EachKindLoadsItsOwnImage) {
    ScratchDir dir;
    dir.writeImage(32, "door", 30, 40);
    dir.writeImage(32, "options", 50, 20);
    dir.writeImage(32, "controls", 60, 10);
    dir.writeImage(32, "portal", 20, 20);
    Door door(0, 0);
    EXPECT_EQ(30, door.getRect()->w);
    EXPECT_EQ(40, door.getRect()->h);
    MenuOptions options(0, 0);
    EXPECT_EQ(50, options.getRect()->w);
    EXPECT_EQ(20, options.getRect()->h);
    MenuControls controls(0, 0);
    EXPECT_EQ(60, controls.getRect()->w);
    EXPECT_EQ(10, controls.getRect()->h);
    // A portal stays one tile whatever its picture.
    Portal portal(0, 0);
    EXPECT_EQ(32, portal.getRect()->w);
    EXPECT_EQ(32, portal.getRect()->h);
}

// The following run the Player and the Level for real.

TEST(FixturesInPlay, LockedDoorStopsThePlayerLikeAWall) {
    ScratchDir dir;
    writeCorridor(dir, "34");
    Level level(1, SDL_GetVideoSurface());
    ASSERT_TRUE(level.load("data/levels/corridor.lvl"));
    Player& player = level.getPlayer();
    player.setVelocity(5, 0);
    level.step();
    EXPECT_EQ(0, player.getRect()->x);
    ASSERT_NE(nullptr, findThing<Door>(level));
}

TEST(FixturesInPlay, DoorOpensForAKeyAndVanishesInTheSameStep) {
    ScratchDir dir;
    writeCorridor(dir, "34");
    Level level(1, SDL_GetVideoSurface());
    ASSERT_TRUE(level.load("data/levels/corridor.lvl"));
    Player& player = level.getPlayer();
    player.setKeys(2);
    player.setVelocity(5, 0);
    level.step();
    EXPECT_EQ(5, player.getRect()->x);
    EXPECT_EQ(1, player.getKeys());
    EXPECT_EQ(nullptr, findThing<Door>(level));
}

TEST(FixturesInPlay, MilkWalkedIntoGivesExactlyOneLife) {
    ScratchDir dir;
    writeCorridor(dir, "35");
    Level level(1, SDL_GetVideoSurface());
    ASSERT_TRUE(level.load("data/levels/corridor.lvl"));
    Player& player = level.getPlayer();
    const int lives = player.getLives();
    player.setVelocity(5, 0);
    level.step();
    EXPECT_EQ(lives + 1, player.getLives());
    EXPECT_EQ(nullptr, findThing<Milk>(level));
}

TEST(FixturesInPlay, MenuObjectsDecideTheStepResult) {
    ScratchDir dir;
    writeCorridor(dir, "38");
    Level level(0, SDL_GetVideoSurface());
    ASSERT_TRUE(level.load("data/levels/corridor.lvl"));
    level.getPlayer().setVelocity(5, 0);
    EXPECT_EQ(StepOpenOptions, level.step());

    writeCorridor(dir, "39");
    ASSERT_TRUE(level.load("data/levels/corridor.lvl"));
    level.getPlayer().setStart(0, 32);
    level.getPlayer().setVelocity(5, 0);
    EXPECT_EQ(StepOpenControls, level.step());
}

TEST(FixturesInPlay, PortalFromTheLevelFileCarriesThePlayer) {
    ScratchDir dir;
    writeCorridor(dir, "29 4 7");
    Level level(1, SDL_GetVideoSurface());
    ASSERT_TRUE(level.load("data/levels/corridor.lvl"));
    Portal* portal = findThing<Portal>(level);
    ASSERT_NE(nullptr, portal);
    EXPECT_EQ(128, portal->getTargetX());
    EXPECT_EQ(224, portal->getTargetY());
    // The cells after the portal's parameters still read as the floor.
    EXPECT_EQ(1, level.getGrid()[1][2]);
    EXPECT_EQ("Corridor", level.getName());
}

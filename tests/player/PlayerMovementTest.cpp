#include "tests/player/PlayerFixture.h"

using PlayerMovement = PlayerFixture;

TEST_F(PlayerMovement, WithoutAStartCellThePlayerStandsAt64) {
    build(32, 4, 4);
    EXPECT_EQ(x(), 64);
    EXPECT_EQ(y(), 64);
    EXPECT_EQ(player().getRespawnX(), 64);
}

TEST_F(PlayerMovement, JumpHeightsAtBothTileSizes) {
    build(32, 10, 20, 18);
    standAt(2, 17);
    press(KeyJump);
    EXPECT_FLOAT_EQ(player().getVy(), -13.0f);
    std::vector<int> rises;
    for (int i = 0; i < 10; ++i) {
        const int before = y();
        frame();
        rises.push_back(before - y());
    }
    EXPECT_EQ(rises, (std::vector<int>{12, 11, 9, 8, 7, 5, 4, 2, 1, -1}));

    build(16, 10, 20, 18);
    standAt(2, 17);
    press(KeyJump);
    int risen = 0;
    for (int i = 0; i < 9; ++i) {
        const int before = y();
        frame();
        ASSERT_GT(before, y()) << "frame " << i;
        risen += before - y();
    }
    EXPECT_EQ(risen, 32);
    const int top = y();
    frame();
    EXPECT_GT(y(), top);
}

TEST_F(PlayerMovement, RubberJumpRises228PixelsIn18Frames) {
    build(32, 10, 20, 18);
    player().setStatus(StatusRubber);
    standAt(2, 17);
    press(KeyJump);
    EXPECT_FLOAT_EQ(player().getVy(), -26.0f);
    const int start = y();
    int risingFrames = 0;
    int top = start;
    for (int i = 0; i < 40; ++i) {
        frame();
        if (y() >= top) break;
        top = y();
        ++risingFrames;
    }
    EXPECT_EQ(risingFrames, 18);
    EXPECT_EQ(start - top, 228);
}

TEST_F(PlayerMovement, RunCycleOnTheGroundAndFullSpeedInTheAir) {
    build(32, 200, 12, 10);
    standAt(150, 9);
    player().setVelocity(-18.0f, 0.0f);
    hold(KeyLeft);
    const float expected[] = {-16.6f, -17.4f, -18.0f, -16.6f, -17.4f, -18.0f};
    for (float vx : expected) {
        frame();
        EXPECT_NEAR(player().getVx(), vx, 1e-4);
    }
    press(KeyJump);
    for (int i = 0; i < 4; ++i) {
        frame();
        EXPECT_FLOAT_EQ(player().getVx(), -18.0f);
    }
}

TEST_F(PlayerMovement, FrictionStopsAndWalkingStartsAPixelAtATime) {
    build(32, 20, 12, 10);
    standAt(5, 9);
    player().setVelocity(1.0f, 0.0f);
    frame();
    EXPECT_EQ(player().getVx(), 0.0f);
    EXPECT_EQ(x(), 160);

    hold(KeyRight);
    std::vector<int> steps;
    for (int i = 0; i < 3; ++i) {
        const int before = x();
        frame();
        steps.push_back(x() - before);
    }
    EXPECT_EQ(steps, (std::vector<int>{1, 2, 3}));
}

TEST_F(PlayerMovement, StandingStillStaysPutWithoutALandingSound) {
    build(32, 10, 12, 10);
    player().setStart(64, 9 * 32 - 40);  // falls 8 pixels onto the floor
    for (int i = 0; i < 10 && !player().isGrounded(); ++i) frame();
    ASSERT_TRUE(player().isGrounded());
    EXPECT_EQ(y(), 9 * 32);
    EXPECT_EQ(player().getLastSound(), SoundLand);
    const int played = player().getSoundsPlayed();
    for (int i = 0; i < 5; ++i) {
        frame();
        EXPECT_EQ(y(), 9 * 32);
        EXPECT_EQ(player().getVy(), 0.0f);
    }
    EXPECT_EQ(player().getSoundsPlayed(), played);
}

TEST_F(PlayerMovement, LandingSplatsWhenRubberOrCurdo) {
    build(32, 10, 12, 10);
    player().setForm(FormCurdo);
    standAt(2, 9);
    EXPECT_EQ(player().getLastSound(), SoundSplat);
    press(KeyJump);
    player().setForm(FormGoto);
    for (int i = 0; i < 30 && !player().isGrounded(); ++i) frame();
    EXPECT_EQ(player().getLastSound(), SoundLand);
}

TEST_F(PlayerMovement, PlatformsHoldOnlyFromAbove) {
    build(32, 40, 12, 10);
    grid()[2][8] = 10;
    grid()[4][9] = 10;
    player().setStart(64, 64);
    for (int i = 0; i < 20; ++i) frame();
    EXPECT_EQ(y(), 7 * 32) << "lands on the platform's top";
    EXPECT_TRUE(player().isGrounded());

    // From below: a jump from the floor passes up through it and falls back.
    player().setStart(64, 9 * 32);
    frame();
    press(KeyJump);
    int highest = y();
    for (int i = 0; i < 30; ++i) {
        frame();
        highest = std::min(highest, y());
    }
    EXPECT_EQ(highest, 9 * 32 - 59);
    EXPECT_EQ(y(), 9 * 32);

    // From the side: walks straight through the platform in its own row.
    hold(KeyRight);
    for (int i = 0; i < 30; ++i) frame();
    EXPECT_GT(x(), 5 * 32);
    EXPECT_EQ(y(), 9 * 32);
}

TEST_F(PlayerMovement, SpringsBlockTheSideAndBounceFromAbove) {
    build(32, 10, 12, 10);
    grid()[4][9] = 3;
    standAt(1, 9);
    hold(KeyRight);
    for (int i = 0; i < 20; ++i) frame();
    EXPECT_EQ(x(), 3 * 32) << "stops at the spring's edge";
    EXPECT_EQ(player().getSoundsPlayed(), 1);  // only the first landing

    hold(KeyRight, false);
    grid()[6][10] = 3;
    player().setStart(6 * 32, 10 * 32 - 40);
    int frames = 0;
    while (player().getVy() >= 0 && frames++ < 20) frame();
    EXPECT_FLOAT_EQ(player().getVy(), -28.0f);
    EXPECT_EQ(player().getLastSound(), SoundBounce);
    const int before = y();
    frame();
    EXPECT_EQ(before - y(), 24) << "the launch is cut to the fall limit";
}

TEST_F(PlayerMovement, GridEdgesNeitherBlockNorCrash) {
    build(32, 3, 3);
    player().setStart(2 * 32 + 16, -40);
    player().setVelocity(5.0f, 0.0f);
    for (int i = 0; i < 5; ++i) frame();
    EXPECT_GT(x(), 3 * 32);
    EXPECT_GT(y(), -40);

    // A box covering four cells touches all four.
    grid().assign(4, std::vector<int>(4, 6));
    player().setStart(40, 40);
    player().setVelocity(0.0f, 0.0f);
    frame();
    EXPECT_EQ(player().getKeys(), 4);
}

TEST_F(PlayerMovement, WhichCellsBlockWhichWay) {
    build(32, 8, 8);
    struct Step { int dx, dy; };
    const Step all[] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
    for (int value = 0; value < 40; ++value) {
        grid()[4][5] = value;
        player().setPosition(4 * 32 - 10, 5 * 32 - 10);  // deep inside the cell
        const bool solid = value == 1 || value == 13 || value == 17;
        for (const Step& s : all) {
            EXPECT_EQ(player().blockedByGrid(grid(), s.dx, s.dy), solid) << "value " << value;
        }
    }

    // A platform holds only a box that reaches into its top row by one pixel, going down.
    grid()[4][5] = 10;
    player().setPosition(128, 129);
    EXPECT_TRUE(player().blockedByGrid(grid(), 0, 1));
    EXPECT_FALSE(player().blockedByGrid(grid(), 1, 0));
    EXPECT_FALSE(player().blockedByGrid(grid(), 0, -1));
    player().setPosition(128, 130);
    EXPECT_FALSE(player().blockedByGrid(grid(), 0, 1));

    // A spring blocks only a sideways step that reaches one column into it.
    grid()[4][5] = 3;
    for (int x : {97, 159}) {
        player().setPosition(x, 160);
        EXPECT_TRUE(player().blockedByGrid(grid(), x == 97 ? 1 : -1, 0)) << x;
        EXPECT_FALSE(player().blockedByGrid(grid(), 0, 1)) << x;
    }
    player().setPosition(98, 160);
    EXPECT_FALSE(player().blockedByGrid(grid(), 1, 0));
}

using PlayerThings = PlayerFixture;

TEST_F(PlayerThings, SolidThingStopsEachAxisKeepingTheSpeed) {
    build(32, 10, 12, 10);
    auto* wall = new StubThing(4, 9, TouchSolid);
    level->addThing(wall);
    standAt(2, 9);
    player().setPosition(94, 9 * 32);
    player().setVelocity(4.0f, 0.0f);
    hold(KeyRight);
    frame();
    EXPECT_EQ(x(), 96);
    EXPECT_FLOAT_EQ(player().getVx(), 4.8f);

    hold(KeyRight, false);
    auto* floor = new StubThing(7, 6, TouchSolid);
    level->addThing(floor);
    player().setStart(7 * 32, 4 * 32);
    player().setVelocity(0.0f, 0.0f);
    player().setGrounded(false);
    for (int i = 0; i < 10; ++i) frame();
    EXPECT_EQ(y(), 5 * 32);
    EXPECT_NEAR(player().getVy(), 14.0f, 1e-4);
    EXPECT_FALSE(player().isGrounded());
}

TEST_F(PlayerThings, SpentThingGivesOneLifeEvenOnBothAxes) {
    build(32, 10, 12);
    auto* milk = new StubThing(3, 3, TouchCollected, true);
    auto* later = new StubThing(3, 3, TouchNothing);
    level->addThing(milk);
    level->addThing(later);
    player().setStart(3 * 32 - 4, 3 * 32 - 4);
    player().setVelocity(6.0f, 6.0f);
    frame();
    EXPECT_EQ(player().getLives(), 6);
    EXPECT_EQ(milk->touches, 1);
    EXPECT_EQ(player().getLastSound(), SoundLife);
    EXPECT_GT(later->touches, 1) << "touched at every step and in the final pass";
}

TEST_F(PlayerThings, FinalPassIgnoresTheAnswer) {
    build(32, 10, 12, 10);
    standAt(2, 9);
    auto* milk = new StubThing(2, 9, TouchCollected, true);
    level->addThing(milk);
    frame();
    EXPECT_EQ(milk->touches, 1);
    EXPECT_TRUE(milk->isDead());
    EXPECT_EQ(player().getLives(), 5);
}

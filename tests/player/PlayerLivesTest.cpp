#include "tests/player/PlayerFixture.h"

#include <string>

using PlayerLives = PlayerFixture;

TEST_F(PlayerLives, SixthDeathEndsTheGame) {
    build(32, 4, 4);
    player().setStart(96, 32);
    player().setPosition(10, 10);
    player().setVelocity(3.0f, -2.0f);
    player().setStatus(StatusFrench);
    player().setKeys(2);
    testing::internal::CaptureStdout();
    for (int i = 0; i < 5; ++i) player().die();
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(out.find("You died. WTF?\n"), 0u);
    EXPECT_EQ(player().getLives(), 0);
    EXPECT_FALSE(player().isGameOver());
    EXPECT_EQ(x(), 96);
    EXPECT_EQ(y(), 32);
    // A death stops the hero, so it cannot slide back into what killed it,
    // and takes nothing else.
    EXPECT_FLOAT_EQ(player().getVx(), 0.0f);
    EXPECT_FLOAT_EQ(player().getVy(), 0.0f);
    EXPECT_EQ(player().getStatus(), StatusFrench);
    EXPECT_EQ(player().getKeys(), 2);

    testing::internal::CaptureStdout();
    player().die();
    testing::internal::GetCapturedStdout();
    EXPECT_TRUE(player().isGameOver());
    EXPECT_TRUE(level->isGameOver());
    player().setStart(0, 0);
    EXPECT_TRUE(player().isGameOver()) << "a new level does not undo it";
}

TEST_F(PlayerLives, MilkThenDeath) {
    build(32, 10, 10);
    level->addThing(new StubThing(2, 2, TouchCollected, true));
    player().setStart(64, 60);
    frame();
    EXPECT_EQ(player().getLives(), 6);
    testing::internal::CaptureStdout();
    player().die();
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(player().getLives(), 5);
}

TEST_F(PlayerLives, ExplosionKillsOnlyWithinTwoPixelsOfTheBox) {
    build(32, 10, 10);
    player().setStart(200, 200);
    struct Case { int x, y; bool dies; };
    const Case cases[] = {{70, 70, true},  {66, 70, false}, {70, 66, false},
                          {67, 67, true},  {102, 70, true}, {103, 70, false},
                          {70, 103, false}};
    for (const Case& c : cases) {
        player().setLives(5);
        player().setPosition(c.x, c.y);
        const int played = player().getSoundsPlayed();
        testing::internal::CaptureStdout();
        EXPECT_EQ(player().onExplosion(100, 100), 0);
        testing::internal::GetCapturedStdout();
        EXPECT_EQ(player().getLives(), c.dies ? 4 : 5) << c.x << "," << c.y;
        EXPECT_EQ(x(), c.dies ? 200 : c.x);
        EXPECT_EQ(player().getSoundsPlayed(), played + 1);
        EXPECT_EQ(player().getLastSound(), SoundBlast);
    }
}

TEST_F(PlayerLives, FlagsAndKeys) {
    build(32, 4, 4);
    for (int i = 0; i < playerFlagCount; ++i) EXPECT_FALSE(player().peekFlag(i));
    player().setFlag(OpenOptions);
    player().setFlag(OpenControls);
    EXPECT_TRUE(player().takeFlag(OpenControls));
    EXPECT_FALSE(player().takeFlag(OpenControls));
    EXPECT_TRUE(player().peekFlag(OpenOptions)) << "a flag not taken stays";
    EXPECT_FALSE(player().takeHintRequest());

    EXPECT_FALSE(player().useKey());
    player().setKeys(1);
    EXPECT_TRUE(player().useKey());
    EXPECT_EQ(player().getKeys(), 0);
    EXPECT_FALSE(player().useKey());

    player().playCough();
    EXPECT_EQ(player().getLastSound(), SoundCough);
}

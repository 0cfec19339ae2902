#include "tests/player/PlayerFixture.h"

#include "shell/Particles.h"
#include "things/Bomb.h"

#include <string>

class PlayerInput : public PlayerFixture {
protected:
    void SetUp() override { build(32, 10, 10, 8); }
};

TEST_F(PlayerInput, GroundJumpStrengthDependsOnRubber) {
    standAt(2, 7);
    press(KeyJump);
    EXPECT_FLOAT_EQ(player().getVy(), -13.0f);
    EXPECT_FALSE(player().isGrounded());
    EXPECT_EQ(player().getLastSound(), SoundJump);

    player().setGrounded(true);
    player().setStatus(StatusRubber);
    press(KeyJump);
    EXPECT_FLOAT_EQ(player().getVy(), -26.0f);
    EXPECT_EQ(player().getLastSound(), SoundHighJump);
    EXPECT_EQ(player().getStatus(), StatusRubber) << "a ground jump keeps the status";
}

TEST_F(PlayerInput, AirJumpSpendsTheStatusOnce) {
    player().setStart(64, 32);
    player().setStatus(StatusFrench);
    player().setVelocity(0.0f, 5.0f);
    const size_t sparks = particles.size();
    press(KeyJump);
    EXPECT_FLOAT_EQ(player().getVy(), -13.0f);
    EXPECT_EQ(player().getStatus(), StatusNormal);
    EXPECT_FALSE(player().isGrounded());
    EXPECT_EQ(player().getLastSound(), SoundJump);
    ASSERT_EQ(particles.size(), sparks + 4);
    for (const Particle* spark : particles) {
        EXPECT_EQ(spark->x, 64);
        EXPECT_EQ(spark->y, 32);
        EXPECT_EQ(spark->colour.r, 0);
        EXPECT_EQ(spark->colour.g, 0);
        EXPECT_EQ(spark->colour.b, 255);
    }

    player().setVelocity(0.0f, 3.0f);
    const int played = player().getSoundsPlayed();
    press(KeyJump);
    EXPECT_FLOAT_EQ(player().getVy(), 3.0f);
    EXPECT_EQ(particles.size(), sparks + 4);
    EXPECT_EQ(player().getSoundsPlayed(), played);
}

TEST_F(PlayerInput, LayBombHandsALiveBombToTheLevel) {
    player().setStart(100, 200);
    press(KeyLayBomb);
    EXPECT_TRUE(level->getThings().empty()) << "no bombs in hand";

    player().setBombs(2);
    press(KeyLayBomb);
    EXPECT_EQ(player().getBombs(), 1);
    ASSERT_EQ(level->getThings().size(), 1u);
    auto* bomb = dynamic_cast<Bomb*>(level->getThings()[0]);
    ASSERT_NE(bomb, nullptr);
    EXPECT_EQ(bomb->getRect()->x, 100);
    EXPECT_EQ(bomb->getRect()->y, 200);

    // Both the Level and the Player hear it go off; the Player is in the blast.
    hold(KeyExplodeAll);
    testing::internal::CaptureStdout();
    bomb->update(grid(), level->getThings());
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(level->getShake(), 8);
    EXPECT_EQ(player().getLastSound(), SoundBlast);
    EXPECT_EQ(player().getLives(), 4);
    EXPECT_NE(out.find("You died. WTF?"), std::string::npos);
}

TEST_F(PlayerInput, OnlyTheFirstMatchingActionActs) {
    standAt(2, 7);
    player().setBombs(2);
    userKeys[KeyLayBomb] = userKeys[KeyJump];
    press(KeyJump);
    EXPECT_FLOAT_EQ(player().getVy(), -13.0f);
    EXPECT_EQ(player().getBombs(), 2);
    EXPECT_TRUE(level->getThings().empty());

    userKeys[KeyQueryHint] = SDLK_h;
    userKeys[KeyLayBomb] = SDLK_h;
    press(KeyQueryHint);
    EXPECT_EQ(player().getBombs(), 2);
    EXPECT_TRUE(player().takeHintRequest());
    EXPECT_FALSE(player().takeHintRequest());
}

TEST_F(PlayerInput, OnlyKeyPressesCount) {
    standAt(2, 7);
    SDL_Event release = {};
    release.type = SDL_KEYUP;
    release.key.type = SDL_KEYUP;
    release.key.keysym.sym = static_cast<SDLKey>(getUserKey(KeyJump));
    player().handleEvent(release);
    EXPECT_TRUE(player().isGrounded());

    // Left and Right move through the keyboard state, not through events.
    press(KeyRight);
    EXPECT_EQ(player().getVx(), 0.0f);
    hold(KeyRight);
    hold(KeyLeft);
    frame();
    EXPECT_FLOAT_EQ(player().getVx(), -0.8f) << "Left wins while both are held";
}

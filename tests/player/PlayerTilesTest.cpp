#include "tests/player/PlayerFixture.h"

#include <string>

namespace {

// Everything about the Player a tile can change.
struct Snapshot {
    int status, form, lives, keys, bombs, sounds, x, y, respawnX, respawnY;
    float vy;
    bool flags[playerFlagCount];
    int cell;
};

}  // namespace

class PlayerTiles : public PlayerFixture {
protected:
    void SetUp() override { build(32, 8, 8); }

    Snapshot snap(int col = 3, int row = 3) {
        Player& p = player();
        Snapshot s = {p.getStatus(), p.getForm(), p.getLives(), p.getKeys(),
                      p.getBombs(),  p.getSoundsPlayed(), x(), y(), p.getRespawnX(),
                      p.getRespawnY(), p.getVy(), {}, grid()[col][row]};
        for (int i = 0; i < playerFlagCount; ++i) s.flags[i] = p.peekFlag(i);
        return s;
    }

    // Puts value into cell (3, 3) and touches it with a step of (dx, dy).
    void touch(int value, int dx = 0, int dy = 1) {
        grid()[3][3] = value;
        player().touchTile(grid(), value, 3, 3, dx, dy);
    }

    static void expectSame(const Snapshot& a, const Snapshot& b, const std::string& what) {
        EXPECT_EQ(a.status, b.status) << what;
        EXPECT_EQ(a.form, b.form) << what;
        EXPECT_EQ(a.lives, b.lives) << what;
        EXPECT_EQ(a.keys, b.keys) << what;
        EXPECT_EQ(a.bombs, b.bombs) << what;
        EXPECT_EQ(a.sounds, b.sounds) << what;
        EXPECT_EQ(a.x, b.x) << what;
        EXPECT_EQ(a.y, b.y) << what;
        EXPECT_EQ(a.respawnX, b.respawnX) << what;
        EXPECT_EQ(a.respawnY, b.respawnY) << what;
        EXPECT_EQ(a.vy, b.vy) << what;
        EXPECT_EQ(a.cell, b.cell) << what;
        for (int i = 0; i < playerFlagCount; ++i) EXPECT_EQ(a.flags[i], b.flags[i]) << what;
    }
};

TEST_F(PlayerTiles, InertValuesChangeNothing) {
    for (int value : {0, 1, 4, 10, 13, 14, 15, 17, 21, 22, 23, 26, 27, 28, 35, 39, 40, 99}) {
        grid()[3][3] = value;
        const Snapshot before = snap();
        for (int dx = -1; dx <= 1; ++dx) {
            for (int dy = -1; dy <= 1; ++dy) {
                if ((dx == 0) != (dy == 0)) touch(value, dx, dy);
            }
        }
        expectSame(before, snap(), "value " + std::to_string(value));
    }
}

TEST_F(PlayerTiles, StatusTilesSoundOnlyOnChange) {
    struct Case { int tile, status, sound; };
    const Case cases[] = {{5, StatusRubber, SoundRubber},   {8, StatusShaded, SoundShaded},
                          {9, StatusFrench, SoundFrench},   {19, StatusGerman, SoundGerman},
                          {18, StatusTerrorist, noSound}};
    for (const Case& c : cases) {
        const int played = player().getSoundsPlayed();
        touch(c.tile);
        EXPECT_EQ(player().getStatus(), c.status) << "tile " << c.tile;
        EXPECT_EQ(grid()[3][3], c.tile) << "status tiles stay";
        if (c.sound == noSound) {
            EXPECT_EQ(player().getSoundsPlayed(), played);
        } else {
            EXPECT_EQ(player().getSoundsPlayed(), played + 1);
            EXPECT_EQ(player().getLastSound(), c.sound);
        }
        touch(c.tile, 1, 0);
        EXPECT_EQ(player().getSoundsPlayed(), played + (c.sound == noSound ? 0 : 1))
            << "tile " << c.tile << " again";
    }
}

TEST_F(PlayerTiles, PickupsAreTakenOffTheGrid) {
    touch(6);
    EXPECT_EQ(player().getKeys(), 1);
    EXPECT_EQ(grid()[3][3], 0);
    EXPECT_EQ(player().getLastSound(), SoundKey);

    touch(20);
    EXPECT_EQ(grid()[3][3], 0);

    touch(24);
    EXPECT_EQ(player().getForm(), FormGoto);
    EXPECT_EQ(grid()[3][3], 0);

    player().setStatus(StatusGerman);
    touch(16);
    EXPECT_EQ(player().getBombs(), 0);
    EXPECT_EQ(grid()[3][3], 16) << "a bomb stays unless Terrorist";
    player().setStatus(StatusTerrorist);
    touch(16);
    EXPECT_EQ(player().getBombs(), 1);
    EXPECT_EQ(grid()[3][3], 0);
}

TEST_F(PlayerTiles, GoalRaisesLevelDoneUntilTakenOrRestarted) {
    touch(7);
    EXPECT_TRUE(player().takeFlag(LevelDone));
    EXPECT_FALSE(player().takeFlag(LevelDone));
    touch(7);
    player().setStart(96, 32);
    EXPECT_FALSE(player().peekFlag(LevelDone));
    EXPECT_EQ(player().getRespawnX(), 96);
    EXPECT_EQ(player().getRespawnY(), 32);
}

TEST_F(PlayerTiles, SpikesHurtGoingDownStalactitesGoingUp) {
    player().setPosition(200, 100);
    touch(2, 1, 0);
    touch(2, -1, 0);
    touch(2, 0, -1);
    touch(12, 1, 0);
    touch(12, 0, 1);
    EXPECT_EQ(player().getLives(), 5);
    EXPECT_EQ(x(), 200);

    testing::internal::CaptureStdout();
    touch(2, 0, 1);
    touch(12, 0, -1);
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(player().getLives(), 3);
    EXPECT_EQ(out, "You died. WTF?\nYou died. WTF?\n");
    EXPECT_EQ(x(), 64);
    EXPECT_EQ(y(), 64);
}

TEST_F(PlayerTiles, SpringThrowsUpOnlyWhenLandedOn) {
    touch(3, 1, 0);
    touch(3, 0, -1);
    EXPECT_EQ(player().getVy(), 0.0f);
    touch(3, 0, 1);
    EXPECT_FLOAT_EQ(player().getVy(), -28.0f);
    EXPECT_EQ(player().getLastSound(), SoundBounce);
    EXPECT_EQ(grid()[3][3], 3);
}

TEST_F(PlayerTiles, ToggletimeLatchSkipsEverySecondTouch) {
    grid()[3][3] = 11;
    grid()[4][3] = 11;
    player().touchTile(grid(), 11, 3, 3, 0, 1);
    EXPECT_EQ(player().getForm(), FormCurdo);
    EXPECT_EQ(grid()[3][3], 0);
    player().touchTile(grid(), 11, 4, 3, 0, 1);
    EXPECT_EQ(player().getForm(), FormCurdo);
    EXPECT_EQ(grid()[4][3], 11) << "the latched touch leaves it";
    EXPECT_FALSE(player().peekFlag(ToggleLatch));
    player().touchTile(grid(), 11, 4, 3, 0, 1);
    EXPECT_EQ(player().getForm(), FormNormal);
    EXPECT_EQ(grid()[4][3], 0);

    player().setForm(FormGoto);
    player().takeFlag(ToggleLatch);
    touch(11);
    EXPECT_EQ(player().getForm(), FormCurdo);
}

TEST_F(PlayerTiles, ToggletimeUnderfootTogglesOnceWhileWalkingOver) {
    grid().assign(8, std::vector<int>(8, 0));
    for (int c = 0; c < 8; ++c) grid()[c][5] = 1;
    grid()[2][4] = 11;
    grid()[3][4] = 11;
    standAt(0, 4);
    hold(KeyRight);
    for (int i = 0; i < 20; ++i) frame();
    EXPECT_GT(x(), 4 * 32);
    EXPECT_EQ(grid()[2][4], 0);
    EXPECT_EQ(grid()[3][4], 0);
    // The first toggle and the second cancel out.
    EXPECT_EQ(player().getForm(), FormNormal);
}

TEST_F(PlayerTiles, CurdotreeBecomesTheRespawnPointOnce) {
    build(32, 8, 6);
    grid()[5][2] = 25;
    player().setStart(5 * 32, 40);
    frame();
    EXPECT_EQ(grid()[5][2], 26);
    EXPECT_EQ(player().getRespawnX(), 160);
    EXPECT_EQ(player().getRespawnY(), 64);
    EXPECT_EQ(player().getLastSound(), SoundBloom);

    // Falling out of the level comes back to the tree, which blooms no more.
    const int played = player().getSoundsPlayed();
    testing::internal::CaptureStdout();
    for (int i = 0; i < 40 && y() <= 6 * 32; ++i) frame();
    player().die();
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(x(), 160);
    EXPECT_EQ(y(), 64);
    frame();
    EXPECT_EQ(grid()[5][2], 26);
    EXPECT_EQ(player().getSoundsPlayed(), played);
}

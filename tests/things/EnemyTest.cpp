#include "things/Enemy.h"

#include "level/Level.h"
#include "player/Player.h"
#include "tests/support/TestSupport.h"
#include "tests/things/EnemyTestSupport.h"
#include "things/Blobber.h"
#include "things/Chomper.h"
#include "things/Flapper.h"
#include "things/Maimframe.h"
#include "things/Zipper.h"

#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

using enemytest::makeGrid;

namespace {

// An enemy placed at level pixels (x, y), to probe the blocked test.
Enemy enemyAt(int x, int y) {
    Enemy enemy(0, 0);
    enemy.getRect()->x = static_cast<Sint16>(x);
    enemy.getRect()->y = static_cast<Sint16>(y);
    return enemy;
}

}  // namespace

class EnemyBlockedTest : public ::testing::Test {
protected:
    ScratchDir scratch;
    Grid grid = makeGrid(10, 8);
};

TEST_F(EnemyBlockedTest, OnlyWallStopperAndCrackableWallBlock) {
    for (int tile : {1, 14, 17}) {
        grid[4][3] = tile;
        EXPECT_TRUE(enemyAt(4 * 32, 3 * 32).blocked(grid)) << "tile " << tile;
        // Covering the cell by a single pixel column or row is enough.
        EXPECT_TRUE(enemyAt(3 * 32 + 1, 3 * 32).blocked(grid)) << "tile " << tile;
        EXPECT_TRUE(enemyAt(4 * 32, 2 * 32 + 1).blocked(grid)) << "tile " << tile;
        EXPECT_FALSE(enemyAt(3 * 32, 3 * 32).blocked(grid)) << "edge to edge, tile " << tile;
    }
    for (int tile : {0, 2, 3, 5, 10, 12, 13, 15, 16, 21, 26, 27, 28, 31, 36, 39}) {
        grid[4][3] = tile;
        EXPECT_FALSE(enemyAt(4 * 32, 3 * 32).blocked(grid)) << "tile " << tile;
    }
}

TEST_F(EnemyBlockedTest, BoxIsOneTileWhateverTheEnemysSize) {
    grid[6][3] = 1;
    Enemy wide = enemyAt(4 * 32, 3 * 32);
    wide.getRect()->w = 100;
    wide.getRect()->h = 100;
    grid[4][6] = 1;
    EXPECT_FALSE(wide.blocked(grid));
}

TEST_F(EnemyBlockedTest, CellsOutsideTheGridNeverBlock) {
    grid[0][3] = 1;
    grid[3][0] = 1;
    grid[9][3] = 1;
    grid[3][7] = 1;
    // Up to a tile left of the grid the box still starts in column 0 (integer
    // division truncates toward zero); a full tile left it starts outside.
    EXPECT_TRUE(enemyAt(-31, 3 * 32).blocked(grid));
    EXPECT_FALSE(enemyAt(-32, 3 * 32).blocked(grid));
    EXPECT_FALSE(enemyAt(-200, 3 * 32).blocked(grid));
    EXPECT_TRUE(enemyAt(3 * 32, -31).blocked(grid));
    EXPECT_FALSE(enemyAt(3 * 32, -32).blocked(grid));
    // Past the right and bottom edges the part inside the grid still counts.
    EXPECT_TRUE(enemyAt(9 * 32 + 31, 3 * 32).blocked(grid));
    EXPECT_FALSE(enemyAt(10 * 32, 3 * 32).blocked(grid));
    EXPECT_TRUE(enemyAt(3 * 32, 7 * 32 + 31).blocked(grid));
    EXPECT_FALSE(enemyAt(3 * 32, 8 * 32).blocked(grid));
}

TEST_F(EnemyBlockedTest, ShortColumnIsSkippedAndTheNextStillTested) {
    Grid ragged = makeGrid(5, 10);
    ragged[2].resize(3);
    ragged[3][5] = 17;
    // The box covers columns 2 and 3 on row 5; column 2 has no row 5.
    EXPECT_TRUE(enemyAt(2 * 32 + 16, 5 * 32).blocked(ragged));
    ragged[3][5] = 0;
    EXPECT_FALSE(enemyAt(2 * 32 + 16, 5 * 32).blocked(ragged));
}

// Which Player status (0..5, rows) and form (0..2, columns) defeat each class.
struct VulnerabilityCase {
    const char* name;
    std::function<Enemy*()> make;
    bool table[6][3];
};

class EnemyVulnerabilityTest : public ::testing::Test {
protected:
    ScratchDir scratch;
    const std::vector<VulnerabilityCase> cases = {
        {"Chomper", [] { return new Chomper(1, 1); },
         {{false, false, false}, {false, false, false}, {true, true, true},
          {false, false, false}, {true, false, false}, {false, false, false}}},
        {"Zipper", [] { return new Zipper(1, 1); },
         {{false, false, false}, {false, false, false}, {true, true, true},
          {false, false, false}, {true, false, false}, {false, false, false}}},
        {"Flapper", [] { return new Flapper(1, 1); },
         {{false, false, false}, {false, false, false}, {false, false, false},
          {false, false, false}, {true, true, true}, {false, false, false}}},
        {"Blobber", [] { return new Blobber(1, 1); },
         {{false, false, false}, {false, false, false}, {false, false, false},
          {false, false, false}, {true, true, true}, {false, false, false}}},
        {"Maimframe", [] { return new Maimframe(1, 1); },
         {{false, false, true}, {false, false, true}, {false, false, true},
          {false, false, true}, {false, false, true}, {false, false, true}}},
    };
};

TEST_F(EnemyVulnerabilityTest, EveryStatusAndFormForEveryClass) {
    for (const VulnerabilityCase& c : cases) {
        std::unique_ptr<Enemy> enemy(c.make());
        for (int status = 0; status <= 5; ++status) {
            for (int form = 0; form <= 2; ++form) {
                EXPECT_EQ(c.table[status][form], enemy->isVulnerable(status, form))
                    << c.name << " status " << status << " form " << form;
            }
        }
    }
}

// Touching goes through the real Player of a real Level.
class EnemyTouchTest : public ::testing::Test {
protected:
    void SetUp() override {
        Mix_HaltChannel(-1);
        enemytest::writeSilentWav("coughing", 3000);
        enemytest::writeSilentWav("pterodactyl", 3000);
        level.reset(new Level(1, SDL_GetVideoSurface()));
        player = &level->getPlayer();
        player->setStart(320, 64);
        player->setPosition(200, 200);
    }
    void TearDown() override {
        Mix_HaltChannel(-1);
        level.reset();
    }

    // Touches a fresh enemy with the Player in the given status and form.
    void touchWith(Enemy& enemy, int status, int form) {
        player->setStatus(status);
        player->setForm(form);
        Mix_HaltChannel(-1);
        livesBefore = player->getLives();
        result = enemy.touch(player);
    }

    ScratchDir scratch;
    std::unique_ptr<Level> level;
    Player* player = nullptr;
    int livesBefore = 0;
    int result = -1;
};

TEST_F(EnemyTouchTest, VulnerableEnemyIsDefeatedAndThePlayerCoughs) {
    Chomper chomper(5, 3);
    touchWith(chomper, StatusFrench, FormNormal);
    EXPECT_EQ(TouchNothing, result);
    EXPECT_TRUE(chomper.isDead());
    EXPECT_EQ(livesBefore, player->getLives());
    EXPECT_EQ(200, player->getRect()->x) << "a defeat does not move the Player";
    EXPECT_EQ(1, Mix_Playing(-1)) << "the coughing effect plays";
}

TEST_F(EnemyTouchTest, InvulnerableEnemyKillsThePlayerAndLives) {
    Chomper chomper(5, 3);
    touchWith(chomper, StatusGerman, FormNormal);
    EXPECT_EQ(TouchNothing, result) << "enemies are never solid";
    EXPECT_FALSE(chomper.isDead());
    EXPECT_EQ(livesBefore - 1, player->getLives());
    EXPECT_EQ(320, player->getRect()->x) << "back at the respawn point";
    EXPECT_EQ(64, player->getRect()->y);
    EXPECT_EQ(0, Mix_Playing(-1)) << "no cough when the Player dies";
}

TEST_F(EnemyTouchTest, GermanCurdoDefeatsWalkersButFrenchDoesNotDefeatFlyers) {
    Zipper zipper(2, 2);
    touchWith(zipper, StatusGerman, FormCurdo);
    EXPECT_TRUE(zipper.isDead());
    EXPECT_EQ(livesBefore, player->getLives());

    Flapper flapper(2, 2);
    touchWith(flapper, StatusFrench, FormNormal);
    EXPECT_FALSE(flapper.isDead());
    EXPECT_EQ(livesBefore - 1, player->getLives());

    Blobber blobber(2, 2);
    touchWith(blobber, StatusGerman, FormGoto);
    EXPECT_TRUE(blobber.isDead());
    EXPECT_EQ(livesBefore, player->getLives());
}

TEST_F(EnemyTouchTest, MaimframeYieldsOnlyToGotoWithEffectsAndShake) {
    Maimframe maimframe(5, 3);
    maimframe.setLevel(level.get());
    touchWith(maimframe, StatusGerman, FormCurdo);
    EXPECT_FALSE(maimframe.isDead());
    EXPECT_EQ(livesBefore - 1, player->getLives());
    EXPECT_EQ(0, level->getShake());

    touchWith(maimframe, StatusNormal, FormGoto);
    EXPECT_EQ(TouchNothing, result);
    EXPECT_TRUE(maimframe.isDead());
    EXPECT_EQ(livesBefore, player->getLives());
    EXPECT_EQ(40, level->getShake());
    EXPECT_EQ(2, Mix_Playing(-1)) << "the pterodactyl and the cough both play";
}

#include "level/Level.h"
#include "menus/Settings.h"
#include "tests/level/LevelTestSupport.h"
#include "tests/support/TestSupport.h"
#include "things/ThingFactory.h"

#include <gtest/gtest.h>

#include <deque>
#include <utility>
#include <vector>

namespace {

class LevelStep : public testing::Test {
protected:
    void loadLevel(const std::string& text) {
        dir.write("data/levels/step.lvl", text);
        capture([&] { level->load("data/levels/step.lvl"); });
    }
    int step() {
        int result = 0;
        capture([&] { result = level->step(); });
        return result;
    }
    Probe* addProbe(int kind, ProbeLog* log) {
        Probe* probe = new Probe(0, 0, kind, log);
        level->addThing(probe);
        return probe;
    }

    // A new record that outlives the level: deleting the level at the end
    // of the test still writes to the records of its probes.
    ProbeLog& newLog() { return logs.emplace_back(); }

    std::deque<ProbeLog> logs;
    ScratchDir dir;
    std::unique_ptr<Level> level = quietLevel(0);
};

// A room of 6 by 4 cells with a floor, the Player standing at (2, 2).
const char* const room =
    "6 4\n0 0 0 1\n0 0 0 1\n0 0 4 1\n0 0 0 1\n0 0 0 1\n0 0 0 1\nRoom\n";

TEST_F(LevelStep, ObjectsSeeTheLevelsOwnGridAndList) {
    loadLevel(room);
    ProbeLog& log = newLog();
    addProbe(0, &log);
    step();
    EXPECT_EQ(log.updates, 1);
    EXPECT_EQ(log.grid, &level->getGrid());
    EXPECT_EQ(log.list, &level->getThings());
}

TEST_F(LevelStep, ObjectsThatDieAreGoneBeforeTheFrameIsDrawn) {
    loadLevel(room);
    ProbeLog &first = newLog(), &second = newLog(), &third = newLog(), &fourth = newLog();
    addProbe(0, &first)->dieOnUpdate = true;
    Probe* keptA = addProbe(0, &second);
    addProbe(0, &third)->dieOnUpdate = true;
    Probe* keptB = addProbe(0, &fourth);
    step();
    EXPECT_EQ(first.deleted, 1);
    EXPECT_EQ(third.deleted, 1);
    EXPECT_EQ(level->getThings(), (ThingList{keptA, keptB}));
    capture([&] { level->draw(); });
    EXPECT_EQ(first.draws, 0);
    EXPECT_EQ(third.draws, 0);
    EXPECT_EQ(second.draws, 1);
    EXPECT_EQ(fourth.draws, 1);
}

TEST_F(LevelStep, ABlastDuringTheWalkShortensItAtOnce) {
    loadLevel(room);
    ProbeLog &chomperA = newLog(), &chomperB = newLog(), &bomb = newLog(), &tail = newLog();
    addProbe(31, &chomperA);
    addProbe(31, &chomperB)->getRect()->x = 32;
    Probe* exploder = addProbe(0, &bomb);
    exploder->action = [&] { level->onExplosion(0, 0); };
    addProbe(0, &tail);
    step();
    EXPECT_EQ(chomperA.deleted, 1);
    EXPECT_EQ(chomperB.deleted, 1);
    EXPECT_EQ(bomb.updates, 1);
    // The walk goes on at the next index of the shorter list: the last
    // object moved down past it and waits for the next step.
    EXPECT_EQ(tail.updates, 0);
    ASSERT_EQ(level->getThings().size(), 2u);
    exploder->action = nullptr;
    step();
    EXPECT_EQ(tail.updates, 1);
}

TEST_F(LevelStep, TheFirstRaisedFlagIsTheResultAndTheOthersWait) {
    loadLevel(room);
    Player& player = level->getPlayer();
    player.setFlag(OpenOptions);
    player.setFlag(LevelDone);
    EXPECT_EQ(step(), StepLevelDone);
    EXPECT_EQ(step(), StepOpenOptions);
    EXPECT_EQ(step(), StepNothing);

    player.setFlag(OpenOptions);
    player.setFlag(OpenControls);
    EXPECT_EQ(step(), StepOpenControls);
    EXPECT_EQ(step(), StepOpenOptions);
    EXPECT_EQ(step(), StepNothing);
}

TEST_F(LevelStep, GoalAndOptionsInOneStepFinishTheLevelFirst) {
    // The Player falls from (1, 0) into the goal below it, brushing the
    // options object, two tiles wide, that starts one column to its left.
    dir.writeImage(32, "options", 64, 32);
    loadLevel("3 3\n0 38 1\n4 7 1\n0 0 1\nBoth\n");
    ASSERT_EQ(level->getThings().size(), 1u);
    EXPECT_EQ(step(), StepLevelDone);
    EXPECT_TRUE(level->getPlayer().peekFlag(OpenOptions));
}

TEST_F(LevelStep, FallingBelowTheGridKillsOnlyPastItsLastRow) {
    // Three empty rows and no floor: a Player at rest falls two pixels a step.
    loadLevel("3 3\n0 0 0\n4 0 0\n0 0 0\nPit\n");
    Player& player = level->getPlayer();
    const int bottom = 3 * tileSize;

    player.setPosition(32, bottom - 2);
    step();
    ASSERT_EQ(player.getRect()->y, bottom);
    EXPECT_EQ(player.getLives(), 5);

    player.setPosition(32, bottom - 1);
    player.setVelocity(0, 0);
    step();
    EXPECT_EQ(player.getLives(), 4);
    EXPECT_EQ(player.getRect()->x, 32);
    EXPECT_EQ(player.getRect()->y, 0);
}

TEST_F(LevelStep, ThePlayerTakesPickupsFromTheLevelsGrid) {
    // Falling from (1, 0) through a key at (1, 1) onto the floor.
    loadLevel("3 3\n0 0 1\n4 6 1\n0 0 1\nKey\n");
    for (int i = 0; i < 10; ++i) step();
    EXPECT_EQ(level->getPlayer().getKeys(), 1);
    EXPECT_EQ(level->getGrid()[1][1], 0);
}

class LevelExplosion : public LevelStep {
protected:
    // A square grid of cwalls with one plain wall among them.
    void crackableField(int size) {
        std::string text = std::to_string(size) + " " + std::to_string(size) + "\n";
        for (int x = 0; x < size; ++x) {
            for (int y = 0; y < size; ++y) text += (x == 4 && y == 4) ? "1 " : "17 ";
            text += "\n";
        }
        loadLevel(text + "Field\n");
    }
    // The cells that are no longer cwalls.
    std::vector<std::pair<int, int>> cleared() const {
        std::vector<std::pair<int, int>> cells;
        const Grid& grid = level->getGrid();
        for (int x = 0; x < level->getWidth(); ++x) {
            for (int y = 0; y < level->getHeight(); ++y) {
                if (grid[x][y] == 0) cells.emplace_back(x, y);
            }
        }
        return cells;
    }
    Thing* place(int kind, int x, int y) {
        Thing* thing = nullptr;
        capture([&] { thing = createThing(kind, 0, 0); });
        thing->getRect()->x = static_cast<Sint16>(x);
        thing->getRect()->y = static_cast<Sint16>(y);
        level->addThing(thing);
        return thing;
    }
};

TEST_F(LevelExplosion, CrackableWallsInTheGridsCornerOnly) {
    crackableField(8);
    EXPECT_EQ(level->onExplosion(5, 5), 0);
    std::vector<std::pair<int, int>> expected;
    for (int x = 0; x <= 2; ++x) {
        for (int y = 0; y <= 2; ++y) expected.emplace_back(x, y);
    }
    EXPECT_EQ(cleared(), expected);
}

TEST_F(LevelExplosion, CrackableWallsTwoCellsAwayGoThreeStay) {
    crackableField(11);
    // The centre of cell (5, 5).
    level->onExplosion(5 * 32 + 16, 5 * 32 + 16);
    std::vector<std::pair<int, int>> expected;
    for (int x = 3; x <= 7; ++x) {
        for (int y = 3; y <= 7; ++y) {
            if (!(x == 4 && y == 4)) expected.emplace_back(x, y);
        }
    }
    EXPECT_EQ(cleared(), expected);
    EXPECT_EQ(level->getGrid()[4][4], 1);
}

TEST_F(LevelExplosion, TheBlastReachesOnlyRightAndDownFromItsPoint) {
    loadLevel(room);
    // Blast at (320, 320): the square reaches to 480 on both axes.
    place(31, 288, 320);  // ends exactly at the blast point: left out
    place(31, 320, 288);  // above: left out
    place(31, 480, 320);  // starts at the far edge: left out
    place(31, 320, 480);
    place(31, 289, 320);  // reaches one pixel past it
    place(30, 479, 479);  // begins on the square's last pixel
    place(32, 330, 330);
    place(33, 330, 330);
    place(28, 330, 330);
    const ThingList outside(level->getThings().begin(), level->getThings().begin() + 4);
    level->onExplosion(320, 320);
    EXPECT_EQ(level->getThings(), outside);
}

TEST_F(LevelExplosion, LargeAndHarmlessObjectsSurviveTheBlast) {
    loadLevel(room);
    for (int kind : {29, 34, 35, 36, 37, 38, 39, 40}) place(kind, 330, 330);
    ProbeLog& bombLog = newLog();
    addProbe(0, &bombLog)->getRect()->x = 330;
    const ThingList before = level->getThings();
    level->onExplosion(320, 320);
    EXPECT_EQ(level->getThings(), before);
    EXPECT_EQ(bombLog.deleted, 0);
}

TEST_F(LevelExplosion, EveryBlastAddsEightFramesOfShake) {
    loadLevel(room);
    level->onExplosion(0, 0);
    level->onExplosion(64, 64);
    EXPECT_EQ(level->getShake(), 16);
}

}  // namespace

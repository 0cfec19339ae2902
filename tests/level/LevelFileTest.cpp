#include "level/Level.h"
#include "shell/Clock.h"
#include "tests/level/LevelTestSupport.h"
#include "tests/support/TestSupport.h"
#include "things/Blobber.h"
#include "things/Enemy.h"
#include "things/Hint.h"
#include "things/Portal.h"

#include <gtest/gtest.h>

namespace {

const char* const testPath = "data/levels/test.lvl";

class LevelFile : public testing::Test {
protected:
    // Writes text as the level file and loads it, capturing what the load prints.
    Captured load(const std::string& text, const std::string& file = testPath) {
        dir.write(file, text);
        return capture([&] { loaded = level->load(file); });
    }
    Captured reload(const std::string& file) {
        return capture([&] { loaded = level->load(file); });
    }

    ScratchDir dir;
    std::unique_ptr<Level> level = quietLevel(0);
    bool loaded = false;
};

TEST_F(LevelFile, ReadsColumnsTheStartCellAndTheName) {
    load("3 2\n1 1\n0 4\n1 1\nTest_Level\n");
    ASSERT_TRUE(loaded);
    EXPECT_EQ(level->getWidth(), 3);
    EXPECT_EQ(level->getHeight(), 2);
    EXPECT_EQ(level->getGrid(), (Grid{{1, 1}, {0, 4}, {1, 1}}));
    EXPECT_EQ(level->getName(), "Test Level");
    EXPECT_TRUE(level->getThings().empty());
    const Player& player = level->getPlayer();
    EXPECT_EQ(player.getRect()->x, 32);
    EXPECT_EQ(player.getRect()->y, 32);
    EXPECT_EQ(player.getRespawnX(), 32);
    EXPECT_EQ(player.getRespawnY(), 32);
}

TEST_F(LevelFile, ReadsAnObjectsParametersBeforeTheNextCell) {
    load("2 1\n28 Watch out Burmashave.\n1\nTwo_Cells\n");
    ASSERT_TRUE(loaded);
    EXPECT_EQ(level->getGrid(), (Grid{{28}, {1}}));
    ASSERT_EQ(level->getThings().size(), 1u);
    const Thing* hint = level->getThings()[0];
    EXPECT_EQ(hint->getType(), 28);
    EXPECT_EQ(static_cast<const Hint*>(hint)->getText(), " Watch out ");
    EXPECT_EQ(level->getName(), "Two Cells");
}

TEST_F(LevelFile, AnySingleCharacterOrAnyWhitespaceSeparatesTheSizes) {
    for (const char* head : {"3x2", "3,2", "3 2", "3\n2", "3  \n\n   2"}) {
        SCOPED_TRACE(head);
        load(std::string(head) + "\n1 1\n0 4\n1 1\nSizes\n");
        EXPECT_TRUE(loaded);
        EXPECT_EQ(level->getWidth(), 3);
        EXPECT_EQ(level->getHeight(), 2);
        EXPECT_EQ(level->getGrid()[1][1], 4);
    }
    // Only one character is skipped: a second one is where the height should be.
    const Captured twice = load("3xx2\n1 1\n0 4\n1 1\nSizes\n");
    EXPECT_FALSE(loaded);
    EXPECT_NE(twice.err.find("Invalid .lvl!"), std::string::npos);
}

TEST_F(LevelFile, ABlankBeforeTheLastLineEndLeavesTheNameEmpty) {
    load("1 1\n1\nNamed\n");
    ASSERT_EQ(level->getName(), "Named");
    load("1 1\n1 \nNot_the_name\n");
    EXPECT_TRUE(loaded);
    EXPECT_EQ(level->getName(), "");
}

TEST_F(LevelFile, AFileEndingRightAfterItsLastValueIsIncomplete) {
    load("1 1\n1\nOld_Name\n");
    const Captured output = load("2 1\n1\n7");
    EXPECT_FALSE(loaded);
    EXPECT_NE(output.err.find("Reached end of input.\n"), std::string::npos);
    EXPECT_EQ(output.out.find("Grid loaded."), std::string::npos);
    // Every cell was read all the same; the name was not.
    EXPECT_EQ(level->getGrid(), (Grid{{1}, {7}}));
    EXPECT_EQ(level->getName(), "Old Name");
}

TEST_F(LevelFile, ATruncatedFileKeepsWhatWasRead) {
    load("2 2\n9 9\n9 9\nNine\n");
    const Captured output = load("3 2\n35 6\n35");
    EXPECT_FALSE(loaded);
    EXPECT_NE(output.err.find("Reached end of input."), std::string::npos);
    EXPECT_EQ(level->getWidth(), 3);
    EXPECT_EQ(level->getHeight(), 2);
    // Cells never reached keep their old value; cells new to the grid are 0.
    EXPECT_EQ(level->getGrid(), (Grid{{35, 6}, {35, 9}, {0, 0}}));
    EXPECT_EQ(level->getThings().size(), 2u);
    EXPECT_EQ(level->getName(), "Nine");

    // A hint without its terminator runs into the end of the file.
    const Captured hint = load("2 1\n28 Never ends");
    EXPECT_NE(hint.err.find("Invalid .lvl!"), std::string::npos);
    EXPECT_NE(hint.err.find("Reached end of input."), std::string::npos);
    EXPECT_EQ(level->getThings().size(), 1u);
}

TEST_F(LevelFile, ReloadingWithAnEmptyPathDeletesAndRecreatesTheObjects) {
    load("3 1\n35\n35\n31\nThree\n");
    ASSERT_EQ(level->getThings().size(), 3u);
    const Captured output = reload("");
    EXPECT_TRUE(loaded);
    EXPECT_EQ(level->getPath(), testPath);
    EXPECT_EQ(output.out.rfind("Loading data/levels/test.lvl...\n", 0), 0u) << output.out;
    ASSERT_EQ(level->getThings().size(), 3u);
    EXPECT_EQ(level->getThings()[2]->getType(), 31);
}

TEST_F(LevelFile, AMissingFileLeavesTheOldGridButNotTheOldObjects) {
    load("2 1\n35\n1\nOld\n");
    const Captured output = reload("data/levels/none.lvl");
    EXPECT_FALSE(loaded);
    EXPECT_NE(output.out.find("Loading data/levels/none.lvl.\n"), std::string::npos);
    EXPECT_NE(output.out.find("Could not load data/levels/none.lvl.\n"), std::string::npos);
    EXPECT_TRUE(level->getThings().empty());
    EXPECT_EQ(level->getGrid(), (Grid{{35}, {1}}));
    EXPECT_EQ(level->getName(), "Old");
    EXPECT_EQ(level->getPath(), "data/levels/none.lvl");
}

TEST_F(LevelFile, RefusesNegativeAndHugeSizesWithoutAllocating) {
    load("3 2\n1 1\n0 4\n1 1\nKept\n");
    const Grid before = level->getGrid();
    for (const char* head : {"-1 2", "2 -1", "2049 2049", "4194305 1", "5000000 0"}) {
        SCOPED_TRACE(head);
        const Captured output = load(std::string(head) + "\n1 1\n");
        EXPECT_FALSE(loaded);
        EXPECT_NE(output.err.find(testPath), std::string::npos) << output.err;
        const std::string size(head);
        EXPECT_NE(output.err.find(size.substr(0, size.find(' '))), std::string::npos);
        EXPECT_NE(output.err.find(size.substr(size.find(' ') + 1)), std::string::npos);
        EXPECT_EQ(output.out.find("Loading grid..."), std::string::npos);
        EXPECT_EQ(level->getWidth(), 3);
        EXPECT_EQ(level->getHeight(), 2);
        EXPECT_EQ(level->getGrid(), before);
        EXPECT_EQ(level->getName(), "Kept");
    }
}

TEST_F(LevelFile, TheLargestGridIsStillAccepted) {
    const Captured output = load("2048 2048\n");
    // Not refused: the grid is made, and the missing cells end the load.
    EXPECT_NE(output.err.find("Reached end of input."), std::string::npos);
    EXPECT_EQ(level->getWidth(), 2048);
    ASSERT_EQ(level->getGrid().size(), 2048u);
    EXPECT_EQ(level->getGrid()[2047].size(), 2048u);
}

TEST_F(LevelFile, AValueThatIsNotANumberStopsTheLoad) {
    load("1 1\n1\nOld\n");
    const Captured output = load("3 2\n1 35\nx 35\n1 1\nNew\n");
    EXPECT_FALSE(loaded);
    EXPECT_NE(output.err.find("Invalid .lvl!"), std::string::npos);
    EXPECT_NE(output.err.find(testPath), std::string::npos);
    EXPECT_NE(output.err.find("column 1"), std::string::npos) << output.err;
    EXPECT_NE(output.err.find("row 0"), std::string::npos) << output.err;
    EXPECT_EQ(level->getGrid()[0], (std::vector<int>{1, 35}));
    EXPECT_EQ(level->getGrid()[1][0], 0);
    // Nothing after the bad value was read: one object, the old name.
    EXPECT_EQ(level->getThings().size(), 1u);
    EXPECT_EQ(level->getName(), "Old");
}

TEST_F(LevelFile, ASizeThatIsNotANumberStopsTheLoad) {
    load("1 1\n1\nOld\n");
    for (const char* head : {"w 2", "2 h"}) {
        SCOPED_TRACE(head);
        const Captured output = load(std::string(head) + "\n1 1\n1 1\nNew\n");
        EXPECT_FALSE(loaded);
        EXPECT_NE(output.err.find("Invalid .lvl!"), std::string::npos);
        EXPECT_NE(output.err.find(testPath), std::string::npos);
        EXPECT_EQ(level->getWidth(), 1);
        EXPECT_EQ(level->getHeight(), 1);
    }
}

TEST_F(LevelFile, APortalWithoutNumbersStopsTheLoad) {
    const Captured output = load("2 1\n29 4 x\n1\nPortal\n");
    EXPECT_FALSE(loaded);
    EXPECT_NE(output.err.find("Invalid .lvl!"), std::string::npos);
    EXPECT_NE(output.err.find("column 0"), std::string::npos);
    EXPECT_NE(output.err.find("row 0"), std::string::npos);
    ASSERT_EQ(level->getThings().size(), 1u);
    EXPECT_EQ(level->getThings()[0]->getType(), 29);

    const Captured missing = load("2 1\n29 4");
    EXPECT_FALSE(loaded);
    EXPECT_NE(missing.err.find("Reached end of input."), std::string::npos);
}

TEST_F(LevelFile, WindowsLineEndsReadLikePlainOnes) {
    load("3 2\r\n1 1\r\n0 4\r\n1 1\r\nTest_Level\r\n");
    EXPECT_TRUE(loaded);
    EXPECT_EQ(level->getGrid(), (Grid{{1, 1}, {0, 4}, {1, 1}}));
    EXPECT_EQ(level->getName(), "Test Level");

    load("2 1\r\n28 Watch out Burmashave.\r\n1\r\nTwo_Cells\r\n");
    EXPECT_TRUE(loaded);
    ASSERT_EQ(level->getThings().size(), 1u);
    EXPECT_EQ(static_cast<const Hint*>(level->getThings()[0])->getText(), " Watch out ");
    EXPECT_EQ(level->getName(), "Two Cells");

    load("1 1\r\n1 \r\nNot_the_name\r\n");
    EXPECT_TRUE(loaded);
    EXPECT_EQ(level->getName(), "");
}

TEST_F(LevelFile, TheLastStartCellWinsAndNoneLeavesThePlayerAtItsDefault) {
    load("3 1\n4\n0\n4\nTwo_Starts\n");
    EXPECT_EQ(level->getPlayer().getRect()->x, 64);
    EXPECT_EQ(level->getPlayer().getRespawnX(), 64);

    level = quietLevel(0);
    load("2 1\n0\n1\nNo_Start\n");
    EXPECT_EQ(level->getPlayer().getRect()->x, 64);
    EXPECT_EQ(level->getPlayer().getRect()->y, 64);
}

TEST_F(LevelFile, ObjectsAreBuiltAtTheirCellsInFileOrder) {
    // Values without tile or object are kept as they are.
    load("4 2\n31 0\n35 37\n99 -3\n27 41\nObjects\n");
    EXPECT_EQ(level->getGrid()[2], (std::vector<int>{99, -3}));
    EXPECT_EQ(level->getGrid()[3], (std::vector<int>{27, 41}));
    const ThingList& things = level->getThings();
    ASSERT_EQ(things.size(), 3u);
    EXPECT_EQ(things[0]->getType(), 31);
    EXPECT_EQ(things[1]->getType(), 35);
    EXPECT_EQ(things[2]->getType(), 37);
    EXPECT_EQ(things[1]->getRect()->x, 32);
    EXPECT_EQ(things[1]->getRect()->y, 0);
    EXPECT_EQ(things[2]->getRect()->y, 32);
}

TEST_F(LevelFile, AMaimframeShakesItsOwnLevel) {
    load("2 1\n36\n1\nBig\n");
    ASSERT_EQ(level->getThings().size(), 1u);
    Enemy* maimframe = static_cast<Enemy*>(level->getThings()[0]);
    capture([&] { maimframe->kill(); });
    EXPECT_GT(level->getShake(), 0);
}

TEST_F(LevelFile, ABlobberChasesThePlayerOfItsLevel) {
    // The Blobber starts right of and below the Player, heading right and up;
    // at its first re-aim it turns towards the Player it was given.
    load("7 7\n0 0 0 0 0 0 0\n0 4 0 0 0 0 0\n0 0 0 0 0 0 0\n0 0 0 0 0 0 0\n0 0 0 0 0 0 0\n"
         "0 0 0 0 0 33 0\n0 0 0 0 0 0 0\nBlob\n");
    ASSERT_EQ(blobStepX(), 1);
    useManualClock(0);
    capture([&] {
        level->step();
        advanceClock(1);
        level->step();
    });
    EXPECT_EQ(blobStepX(), -1);
    EXPECT_EQ(blobStepY(), -1);
}

TEST_F(LevelFile, ASuccessfulLoadPrintsEightLines) {
    level = quietLevel(1);
    dir.writeImage(32, "../bg01", 8, 8);
    load("2 1\n35\n35\nTwo_Milks\n", "data/levels/two.lvl");
    dir.write("data/levels/level01.lvl", filledLevel(20, 15, 0, "Green_Hills"));
    const Captured output = reload("data/levels/level01.lvl");
    EXPECT_TRUE(loaded);
    EXPECT_EQ(output.out,
              "Loading data/levels/level01.lvl..\n"
              "Width: 20\n"
              "Height: 15\n"
              "Loading grid...\n"
              "Grid loaded.\n"
              "Name: Green Hills\n"
              "Loading objects...\n"
              "Objects loaded.\n");
    EXPECT_EQ(output.err, "");
}

TEST(LevelPath, IsTheTwoDigitLevelNumber) {
    ScratchDir dir;
    const struct {
        int number;
        const char* path;
    } cases[] = {{0, "data/levels/level00.lvl"},
                 {7, "data/levels/level07.lvl"},
                 {17, "data/levels/level17.lvl"},
                 {99, "data/levels/level99.lvl"},
                 {100, "data/levels/level100.lvl"},
                 {123, "data/levels/level123.lvl"}};
    for (const auto& c : cases) {
        std::unique_ptr<Level> level;
        const Captured output = capture([&] { level.reset(new Level(c.number, nullptr)); });
        EXPECT_EQ(level->getPath(), c.path);
        EXPECT_NE(output.out.find(std::string(c.path) + "\nLoading tiles...\n"),
                  std::string::npos);
    }
}

TEST(LevelBackground, IsChosenByTheLastDigitOfTheLevelNumber) {
    ScratchDir dir;
    dir.writeImage(32, "../bg07", 8, 9);
    dir.write("data/levels/any.lvl", "1 1\n0\nAny\n");
    for (int number : {7, 17}) {
        SCOPED_TRACE(number);
        std::unique_ptr<Level> level = quietLevel(number);
        capture([&] { level->load("data/levels/any.lvl"); });
        ASSERT_NE(background, nullptr);
        EXPECT_EQ(background->w, 8);
        EXPECT_EQ(background->h, 9);
    }
    // The menu level has none; the previous level's image is let go.
    std::unique_ptr<Level> menu = quietLevel(0);
    capture([&] { menu->load("data/levels/any.lvl"); });
    EXPECT_EQ(background, nullptr);
    // A level whose image is missing has none either, even when the file is missing too.
    std::unique_ptr<Level> eighth = quietLevel(8);
    const Captured output = capture([&] { eighth->load("data/levels/absent.lvl"); });
    EXPECT_EQ(background, nullptr);
    EXPECT_NE(output.out.find("bg08"), std::string::npos);
}

}  // namespace

#include "level/Level.h"
#include "tools/common/LevelCheck.h"
#include "level/Tiles.h"
#include "menus/Settings.h"
#include "tests/level/LevelTestSupport.h"
#include "tests/support/TestSupport.h"

#include <dirent.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <iterator>
#include <fstream>
#include <cstdlib>

namespace {

// A 3 by 3 room: walls on the left and right columns, the start at the
// top of the middle column and the goal below it.
const char* const cleanLevel =
    "3 3\n"
    "1 1 1\n"
    "4 0 7\n"
    "1 1 1\n"
    "Clean_Room\n";

class LevelCheckTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (int size : {16, 32})
            for (const char* name : {"wall", "goal", "hint", "portal", "door", "key", "spikes"})
                dir.writeImage(size, name, size, size);
    }

    LevelCheck check(const std::string& content) {
        dir.write("data/levels/test.lvl", content);
        return checkLevelFile("data/levels/test.lvl");
    }

    static bool has(const LevelCheck& c, const std::string& text, int col = -2, int row = -2) {
        return std::any_of(c.problems.begin(), c.problems.end(), [&](const LevelProblem& p) {
            return p.message.find(text) != std::string::npos && (col == -2 || p.column == col) &&
                   (row == -2 || p.row == row);
        });
    }

    ScratchDir dir;
};

TEST_F(LevelCheckTest, CleanLevelHasNoProblemsAndTheGameReadsTheSameGrid) {
    const LevelCheck c = check(cleanLevel);
    EXPECT_EQ(0u, c.problems.size());
    EXPECT_EQ("Clean Room", underscoresToSpaces(c.name));

    Level level(1, SDL_GetVideoSurface());
    ASSERT_TRUE(level.load("data/levels/test.lvl"));
    EXPECT_EQ(level.getGrid(), c.grid);
}

TEST_F(LevelCheckTest, ParseErrorsNameTheirCell) {
    EXPECT_TRUE(has(check("3 3\n1 1 1\n4 x 7\n1 1 1\nBad\n"), "not a number", 1, 1));
    EXPECT_TRUE(has(check("3 3\n1 1 1\n4 0 7\n1 1\n"), "ends inside the grid", 2, 2));
    // The game refuses a file whose last value is its last character.
    EXPECT_TRUE(has(check("1 1\n4"), "ends right after this cell", 0, 0));
    EXPECT_TRUE(has(check("-3 3\n"), "is refused"));
    EXPECT_TRUE(has(check("5000 5000\n"), "is refused"));
    EXPECT_TRUE(has(check("wide\n"), "width is not a number"));
}

TEST_F(LevelCheckTest, CellValuesOutsideTheTablesAreReported) {
    const LevelCheck c = check("3 3\n1 1 1\n4 45 7\n1 22 1\nOdd\n");
    EXPECT_TRUE(has(c, "unknown cell value 45", 1, 1));
    EXPECT_TRUE(has(c, "cell value 22 does nothing", 2, 1));
    EXPECT_EQ(1, c.errorCount());
}

TEST_F(LevelCheckTest, StartAndGoalCells) {
    EXPECT_TRUE(has(check("3 3\n1 1 1\n0 0 7\n1 1 1\nNo start\n"), "no start cell"));
    EXPECT_TRUE(has(check("3 3\n1 1 1\n4 4 7\n1 1 1\nTwo\n"), "2 start cells"));
    const LevelCheck noGoal = check("3 3\n1 1 1\n4 0 0\n1 1 1\nEnd\n");
    EXPECT_TRUE(has(noGoal, "no goal"));
    EXPECT_EQ(0, noGoal.errorCount());
    // Text after the name line is never read by the game; it can mark intent.
    EXPECT_EQ(0u, check("3 3\n1 1 1\n4 0 0\n1 1 1\nEnd\nlint: no-goal\n").problems.size());
}

TEST_F(LevelCheckTest, HintsPortalsAndDoors) {
    EXPECT_TRUE(has(check("2 1\n28 Never ends burmashave.\n4\nX\n"), "hint text without", 0, 0));
    EXPECT_EQ(0u, check("3 1\n28 Fine Burmashave. 4\n7\n1\nOk\n").problems.size());
    // 35 characters still read at tile size 16; 36 do not.
    EXPECT_EQ(0u, check("3 1\n28 Thirty-five characters fit the box. Burmashave. 4\n7\n1\nOk\n")
                     .problems.size());
    EXPECT_TRUE(has(check("3 1\n28 Thirty-six characters are too many!! Burmashave. 4\n7\n1\nOk\n"),
                    "sign text of 36 characters", 0, 0));

    EXPECT_TRUE(has(check("3 1\n29 9 0 4\n7\n1\nP\n"), "outside the grid", 0, 0));
    EXPECT_TRUE(has(check("3 1\n29 2 0 4\n1\nP\n"), "inside a solid tile", 0, 0));
    EXPECT_TRUE(has(check("3 1\n29 1 x\n4\n7\nP\n"), "without a target", 0, 0));
    EXPECT_EQ(0u, check("3 1\n29 1 0 4\n7\n1\nP\n").problems.size());
    EXPECT_TRUE(has(check("3 1\n29 0 0\n4\n7\nP\n"), "aimed at itself", 0, 0));
    EXPECT_TRUE(has(check("4 1\n4\n29 2 0\n29 1 0\n7\nP\n"), "holds a portal", 1, 0));

    EXPECT_TRUE(has(check("3 2\n4 34\n34 6\n7 1\nDoors\n"), "2 doors but only 1 keys"));
    EXPECT_FALSE(has(check("3 2\n4 34\n6 6\n7 1\nDoors\n"), "doors but only"));
}

TEST_F(LevelCheckTest, MissingImagesNameTheTileSize) {
    const std::string removeSmallSpikes = "rm '" + dir.path() + "/data/images/16/spikes.bmp'";
    ASSERT_EQ(0, std::system(removeSmallSpikes.c_str()));
    const LevelCheck c = check("3 3\n1 1 1\n4 2 7\n1 1 1\nSpiky\n");
    EXPECT_TRUE(has(c, "\"spikes\" is missing at tile size 16", 1, 1));
    EXPECT_FALSE(has(c, "at tile size 32"));
}

// A look must be there at both sizes; its background must reach the view plus
// a sixth of the level beyond it (a 3-row room needs 480 at 32, a 40-row one
// 480 + (1280 - 480) / 6 = 613).
TEST_F(LevelCheckTest, ALookIsRefusedWhereMissingAndWarnedOfWhereItsBackgroundIsShort) {
    EXPECT_TRUE(has(check(std::string(cleanLevel) + "look nowhere\n"),
                    "look \"nowhere\" has no images at tile size 16"));
    ASSERT_EQ(std::system(("mkdir -p '" + dir.path() + "/data/images/looks/meadow/32'").c_str()), 0);
    LevelCheck c = check(std::string(cleanLevel) + "look meadow\n");
    EXPECT_EQ(c.look, "meadow");
    EXPECT_TRUE(has(c, "tile size 16"));
    EXPECT_FALSE(has(c, "tile size 32"));
    EXPECT_EQ(c.errorCount(), 1);

    ASSERT_EQ(std::system(("mkdir -p '" + dir.path() + "/data/images/looks/meadow/16'").c_str()), 0);
    dir.writeImage(32, "../looks/meadow/background", 64, 612);
    std::string tall = "3 40\n";
    for (int x = 0; x < 3; ++x) {
        for (int y = 0; y < 40; ++y) tall += std::string(y ? " " : "") + (x == 1 && y == 0 ? "4" : x == 1 && y == 38 ? "7" : "1");
        tall += "\n";
    }
    c = check(tall + "Tall\nlook meadow\n");
    EXPECT_EQ(c.errorCount(), 0);
    EXPECT_TRUE(has(c, "is 612 pixels high, the parallax needs 613"));
    EXPECT_FALSE(has(c, "needs 306")) << "at 16 the same picture is tall enough";
    dir.writeImage(32, "../looks/meadow/background", 64, 613);
    EXPECT_TRUE(check(tall + "Tall\nlook meadow\n").problems.empty());
    EXPECT_TRUE(check(std::string(cleanLevel) + "look meadow\n").problems.empty());
}

// The solving run of a cliff jumps off into a drop whose floor the view does
// not show; a hop onto a step in plain sight is no blind jump; a sign at the
// cliff's edge tells what lies ahead.
TEST_F(LevelCheckTest, BlindJumpsOfTheSolvingRunAreWarnedOfUnlessASignTells) {
    const auto checked = [this](const std::string& name) {
        std::ifstream in(sourceDir() + "/tests/tools/blind/" + name + ".lvl");
        const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        dir.write("data/levels/" + name + ".lvl", text);
        dir.write("data/levels/" + name + "-32.replay", "level data/levels/" + name +
                                                         ".lvl\ntilesize 32\nexpect survive\n"
                                                         "10 -\n1 R J\n60 R\n");
        LevelCheck c = checkLevelFile("data/levels/" + name + ".lvl");
        const std::string replay = solvingReplayFor("data/levels/" + name + ".lvl", dir.path());
        EXPECT_EQ(replay, "data/levels/" + name + "-32.replay");
        checkBlindJumps(c, replay, SDL_GetVideoSurface());
        return c;
    };
    const LevelCheck cliff = checked("cliff");
    EXPECT_TRUE(has(cliff, "blind jump at 18,28", 18, 28));
    EXPECT_EQ(cliff.errorCount(), 0);
    EXPECT_FALSE(has(checked("step"), "blind jump"));
    EXPECT_FALSE(has(checked("signed-cliff"), "blind jump"));
    EXPECT_EQ(solvingReplayFor("data/levels/none.lvl", dir.path()), "");
}

TEST_F(LevelCheckTest, WindowsLineEndsReadLikePlainOnes) {
    const LevelCheck c = check("3 3\r\n1 1 1\r\n4 0 7\r\n1 1 1\r\nClean_Room\r\n");
    EXPECT_EQ(0u, c.problems.size());
    EXPECT_EQ("Clean Room", c.name);
    EXPECT_EQ(7, c.grid[1][2]);
}

TEST_F(LevelCheckTest, ProblemLinesNameFileColumnAndRow) {
    LevelProblem cell;
    cell.column = 4;
    cell.row = 7;
    cell.message = "boom";
    EXPECT_EQ("a.lvl:4:7: error: boom", formatProblem("a.lvl", cell));
    LevelProblem whole;
    whole.severity = LevelProblem::Warning;
    whole.message = "no goal";
    EXPECT_EQ("a.lvl: warning: no goal", formatProblem("a.lvl", whole));
}

// The checker's verdict on a file is the game's: every shipped level and every
// seed of the level fuzzer, hostile ones included.
TEST(ShippedLevels, CheckerAndGameAgreeOnEveryFile) {
    ScratchDir dir;
    dir.useShipped("levels");
    dir.useShipped("images");
    int seen = 0;
    for (const std::string& folder :
         {std::string("data/levels"), std::string(CURDOVAR_SOURCE_DIR) + "/fuzz/corpus/level"}) {
        DIR* listing = opendir(folder.c_str());
        ASSERT_NE(nullptr, listing) << folder;
        while (dirent* entry = readdir(listing)) {
            const std::string file = entry->d_name;
            if (file.size() < 4 || file.substr(file.size() - 4) != ".lvl") continue;
            const std::string path = folder + "/" + file;
            const LevelCheck c = checkLevelFile(path);
            bool loaded = false;
            Grid grid;
            capture([&] {
                Level level(1, SDL_GetVideoSurface());
                loaded = level.load(path);
                grid = level.getGrid();
            });
            EXPECT_EQ(loaded, c.loaded) << path;
            if (loaded) {
                EXPECT_EQ(grid, c.grid) << path;
            } else {
                EXPECT_GT(c.errorCount(), 0) << path;
            }
            if (folder == "data/levels") {
                EXPECT_TRUE(loaded) << path;
            }
            ++seen;
        }
        closedir(listing);
    }
    EXPECT_GT(seen, 16);
}

// Every tile and object kind of the table has its image at both tile sizes.
TEST(ShippedLevels, EveryTileAndKindHasItsImageAtBothSizes) {
    for (int size : {16, 32}) {
        const std::string folder =
            std::string(CURDOVAR_SOURCE_DIR) + "/data/images/" + std::to_string(size) + "/";
        auto exists = [&](const std::string& name) {
            return access((folder + name + ".bmp").c_str(), R_OK) == 0 ||
                   access((folder + name + ".png").c_str(), R_OK) == 0;
        };
        for (const TileInfo& tile : tileTable) {
            if (*tile.image) {
                EXPECT_TRUE(exists(tile.image)) << tile.image << " at " << size;
            }
        }
        for (const KindInfo& kind : kindTable) {
            EXPECT_TRUE(exists(kind.image)) << kind.image << " at " << size;
        }
    }
}

}  // namespace

// Hostile level files: whatever a file holds, loading it either fills the
// level or refuses with a message, and the level then steps and draws
// without crashing.
#include "level/Level.h"
#include "menus/Settings.h"
#include "shell/Frame.h"
#include "shell/Particles.h"
#include "tests/level/LevelTestSupport.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

namespace {

const char* const testPath = "data/levels/test.lvl";

class LevelRobustness : public testing::Test {
protected:
    Captured load(const std::string& text) {
        dir.write(testPath, text);
        return capture([&] { loaded = level->load(testPath); });
    }
    // Plays frames the way the main loop does; returns the first non-zero step result.
    int play(int frames) {
        int result = 0;
        capture([&] {
            for (int i = 0; i < frames && result == 0; ++i) {
                Level* current = level.get();
                result = playFrame(current, SDL_GetVideoSurface(), nullptr).step;
            }
        });
        return result;
    }

    ScratchDir dir;
    std::unique_ptr<Level> level = quietLevel(0);
    bool loaded = false;
};

TEST_F(LevelRobustness, EmptyAndGarbageFilesAreRefusedAndTheOldLevelStays) {
    load("2 2\n1 1\n4 1\nOld\n");
    ASSERT_TRUE(loaded);
    const Grid before = level->getGrid();

    const Captured empty = load("");
    EXPECT_FALSE(loaded);
    EXPECT_NE(empty.err.find("Reached end of input."), std::string::npos) << empty.err;

    const std::string garbage("\x7f" "ELF\x02\x01\x00\xff\xfe\x80 \x01\x02\n\x00\x00", 16);
    const Captured binary = load(garbage);
    EXPECT_FALSE(loaded);
    EXPECT_NE(binary.err.find("Invalid .lvl!"), std::string::npos) << binary.err;

    for (const Captured* output : {&empty, &binary}) {
        EXPECT_EQ(output->out.find("Loading grid..."), std::string::npos);
    }
    EXPECT_EQ(level->getGrid(), before);
    EXPECT_EQ(level->getWidth(), 2);
    EXPECT_EQ(level->getName(), "Old");
    EXPECT_EQ(play(30), 0);
}

TEST_F(LevelRobustness, CellValuesOutsideTheTablesAreKeptAndPlayOverThem) {
    // Column 0: the start, air, a wall. Column 1: three values no table knows,
    // which the Player walks into and then falls through.
    load("2 3\n4 0 1\n-7 41 2147483647\nStrange\n");
    ASSERT_TRUE(loaded);
    EXPECT_TRUE(level->getThings().empty());
    const int lives = level->getPlayer().getLives();
    setKey(getUserKey(KeyRight), true);
    play(120);
    setKey(getUserKey(KeyRight), false);
    EXPECT_EQ(level->getGrid()[1], (std::vector<int>{-7, 41, 2147483647}));
    EXPECT_TRUE(level->getThings().empty());
    // Nothing under column 1 holds it up: it fell out of the level and died.
    EXPECT_LT(level->getPlayer().getLives(), lives);
}

TEST_F(LevelRobustness, AnUnterminatedHintEndsTheLoadButKeepsWhatWasBuilt) {
    load("1 1\n1\nOld\n");
    const Captured output = load("2 1\n28 Watch out for the\n1\nName\n");
    EXPECT_FALSE(loaded);
    EXPECT_NE(output.err.find("Invalid .lvl!"), std::string::npos) << output.err;
    EXPECT_NE(output.err.find("Reached end of input."), std::string::npos) << output.err;
    ASSERT_EQ(level->getThings().size(), 1u);
    EXPECT_EQ(level->getThings()[0]->getType(), 28);
    EXPECT_EQ(level->getName(), "Old");
    EXPECT_EQ(play(10), 0);
}

TEST_F(LevelRobustness, TinyLevelsLoadAndTheHeroFallsOutOfThem) {
    for (const char* text : {"1 1\n4\nSolo\n", "0 0\nNothing\n", "1 0\n\nFlat\n"}) {
        SCOPED_TRACE(text);
        level = quietLevel(0);
        load(text);
        EXPECT_TRUE(loaded);
        const int lives = level->getPlayer().getLives();
        EXPECT_EQ(play(200), 0);
        EXPECT_LT(level->getPlayer().getLives(), lives);
        clearParticles();
    }
}

TEST_F(LevelRobustness, FarCellsWrapAtSixteenBitsLikeEveryPosition) {
    // 2100 columns of 32 pixels reach past 65535: column 2050 starts at
    // pixel 65600, which wraps to 64, and the milk of column 2060 to 384.
    std::string text = "2100 2\n";
    for (int x = 0; x < 2100; ++x) {
        if (x == 2050) {
            text += "4 1\n";
        } else if (x == 2060) {
            text += "35 1\n";
        } else {
            text += "0 1\n";
        }
    }
    load(text + "Wide\n");
    ASSERT_TRUE(loaded);
    const int lives = level->getPlayer().getLives();
    EXPECT_EQ(level->getPlayer().getRect()->x, 64);
    EXPECT_EQ(level->getPlayer().getRect()->y, 0);
    ASSERT_EQ(level->getThings().size(), 1u);
    EXPECT_EQ(level->getThings()[0]->getRect()->x, 384);
    // The wrapped position is where it plays: it stands on the floor there.
    play(60);
    EXPECT_EQ(level->getPlayer().getRect()->x, 64);
    EXPECT_EQ(level->getPlayer().getRect()->y, 0);
    EXPECT_EQ(level->getPlayer().getLives(), lives);
}

TEST_F(LevelRobustness, TallLevelAtTheLargestTileSizeDoesNotOverflowPixels) {
    // 1,400,000 rows of 1638 pixels reach past the int range; the start cell
    // at row 1,311,100 lies at pixel 2,147,581,800, whose low 16 bits are 32616.
    tileSize = 1638;
    level = quietLevel(0);
    constexpr int rows = 1400000;
    constexpr int startRow = 1311100;
    std::string text = "1 " + std::to_string(rows) + "\n";
    text.reserve(2 * rows + 16);
    for (int y = 0; y < startRow; ++y) text += "0 ";
    text += "4";  // the file ends here: the rest of the column is missing
    const Captured output = load(text);
    EXPECT_FALSE(loaded);
    EXPECT_NE(output.err.find("Reached end of input."), std::string::npos);
    EXPECT_EQ(level->getHeight(), rows);
    EXPECT_EQ(level->getPlayer().getRect()->y, 32616);

    // Far above the bottom of the level: a step must not count it as fallen out.
    const int lives = level->getPlayer().getLives();
    capture([&] { level->step(); });
    EXPECT_EQ(level->getPlayer().getLives(), lives);
}

}  // namespace

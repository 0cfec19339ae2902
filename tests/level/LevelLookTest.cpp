#include "level/Level.h"

#include "level/LevelDraft.h"
#include "level/LevelWriter.h"
#include "level/Tiles.h"
#include "tests/level/LevelTestSupport.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <sstream>

namespace {

// A room of three columns: wall, the start over a wall, wall; the name, then `after`.
std::string room(const std::string& after) {
    return "3 2\n1 1\n4 1\n1 1\nRoom\n" + after;
}

// Images whose width tells where they came from: the default set 5 pixels
// wide, the meadow look's 9, its background 40 by 700.
class LevelLookTest : public ::testing::Test {
protected:
    void SetUp() override {
        const std::string look = dir.path() + "/data/images/looks/meadow";
        ASSERT_EQ(std::system(("mkdir -p '" + look + "/32' '" + look + "/16'").c_str()), 0);
        for (const char* image : {"wall", "spikes"}) dir.writeImage(32, image, 5, 5);
        dir.writeImage(32, "../looks/meadow/32/wall", 9, 9);
        dir.writeImage(32, "../bg03", 11, 11);
        dir.writeImage(32, "../looks/meadow/background", 40, 700);
    }
    std::unique_ptr<Level> loaded(int number, const std::string& text) {
        dir.write("data/levels/room.lvl", text);
        std::unique_ptr<Level> level;
        capture([&] {
            level.reset(new Level(number, SDL_GetVideoSurface()));
            level->load("data/levels/room.lvl");
        });
        return level;
    }
    static int width(SDL_Surface* image) { return image ? image->w : 0; }

    ScratchDir dir;
};

TEST_F(LevelLookTest, ALookBringsItsTilesAndBackgroundAndTheDefaultsFillIn) {
    std::unique_ptr<Level> level = loaded(3, room("look meadow\n"));
    EXPECT_EQ(level->getLook(), "meadow");
    EXPECT_EQ(level->getName(), "Room");
    EXPECT_EQ(width(level->getTileImage(TileWall)), 9);
    EXPECT_EQ(width(level->getTileImage(TileSpikes)), 5) << "a tile the look lacks";
    EXPECT_EQ(width(background), 40);

    // The next file names no look: the default set and the numbered background come back.
    dir.write("data/levels/room.lvl", room("lint: no-goal\n"));
    capture([&] { level->load("data/levels/room.lvl"); });
    EXPECT_EQ(level->getLook(), "");
    EXPECT_EQ(width(level->getTileImage(TileWall)), 5);
    EXPECT_EQ(width(background), 11);
}

TEST_F(LevelLookTest, WithoutALookNothingChangesAndAStrangeNameIsRefused) {
    for (const std::string& after : {std::string(), std::string("look ../../x\n"),
                                     std::string("looks meadow\n"), std::string("look\n")}) {
        std::unique_ptr<Level> level;
        dir.write("data/levels/room.lvl", room(after));
        const Captured output = capture([&] {
            level.reset(new Level(3, SDL_GetVideoSurface()));
            level->load("data/levels/room.lvl");
        });
        EXPECT_EQ(level->getLook(), "") << after;
        EXPECT_EQ(width(level->getTileImage(TileWall)), 5) << after;
        EXPECT_EQ(width(background), 11) << after;
        EXPECT_EQ(output.out.find("Look: "), std::string::npos) << after;
    }
    // The menu level has no background of its number, but a look's.
    EXPECT_EQ(width(loaded(0, room("look meadow\n"))->getTileImage(TileWall)), 9);
    EXPECT_EQ(width(background), 40);
}

TEST(LevelDraftLook, ReadWrittenAndClearedLikeTheName) {
    const std::string text = room("look meadow\nlint: no-goal\n");
    LevelDraft draft;
    std::string error;
    std::istringstream in(text);
    ASSERT_TRUE(draft.read(in, error)) << error;
    EXPECT_EQ(draft.getLook(), "meadow");
    EXPECT_EQ(draft.getTrailer(), "lint: no-goal\n");
    EXPECT_EQ(levelText(draft), text);
    draft.setLook("");
    EXPECT_EQ(levelText(draft), room("lint: no-goal\n"));
    draft.setLook("beach");
    EXPECT_EQ(levelText(draft), room("look beach\nlint: no-goal\n"));
}

}  // namespace

#include "level/Level.h"
#include "tests/level/LevelTestSupport.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

namespace {

// The tile set as the level file's values name it.
const struct {
    int value;
    const char* image;
} tileSet[] = {
    {1, "wall"},        {2, "spikes"},  {3, "spring"},    {5, "caflady"},    {6, "key"},
    {7, "goal"},        {8, "shades"},  {9, "pierre"},    {10, "platform"},  {11, "toggletime"},
    {12, "stalag"},     {13, "iwall"},  {15, "flame"},    {16, "bomb"},      {17, "cwall"},
    {18, "ahmed"},      {19, "hans"},   {20, "alphorn"},  {21, "fwall"},     {24, "goto"},
    {25, "curdotree"},  {26, "curdotree_sprouted"},
};

TEST(LevelConstruction, StartsEmptyWithItsNumberedPath) {
    ScratchDir dir;
    std::unique_ptr<Level> level;
    const Captured output = capture([&] { level.reset(new Level(3, SDL_GetVideoSurface())); });
    EXPECT_NE(output.out.find("data/levels/level03.lvl\nLoading tiles...\n"), std::string::npos);
    EXPECT_EQ(level->getLevelNumber(), 3);
    EXPECT_EQ(level->getPath(), "data/levels/level03.lvl");
    EXPECT_EQ(level->getWidth(), 0);
    EXPECT_EQ(level->getHeight(), 0);
    EXPECT_TRUE(level->getGrid().empty());
    EXPECT_TRUE(level->getThings().empty());
    EXPECT_EQ(level->getName(), "");
    EXPECT_EQ(level->getShake(), 0);
    EXPECT_FALSE(level->isGameOver());
}

TEST(LevelConstruction, LoadsEachTileImageIntoTheSlotOfItsValue) {
    ScratchDir dir;
    // Every image is as wide as its value, so a slot shows which image it holds.
    for (const auto& tile : tileSet) dir.writeImage(32, tile.image, tile.value, 2);
    std::unique_ptr<Level> level = quietLevel(0);
    for (int value = -1; value <= 40; ++value) {
        SCOPED_TRACE(value);
        bool inSet = false;
        for (const auto& tile : tileSet) inSet = inSet || tile.value == value;
        SDL_Surface* image = level->getTileImage(value);
        if (inSet) {
            ASSERT_NE(image, nullptr);
            EXPECT_EQ(image->w, value);
        } else {
            EXPECT_EQ(image, nullptr);
        }
    }
}

TEST(LevelCells, ClearingTakesTilesButNeverObjectCells) {
    ScratchDir dir;
    dir.write("data/levels/cells.lvl", "4 1\n6\n26\n30\n27\nCells\n");
    std::unique_ptr<Level> level = quietLevel(0);
    capture([&] { level->load("data/levels/cells.lvl"); });
    for (int x = 0; x < 4; ++x) level->clearCell(x, 0);
    EXPECT_EQ(level->getGrid(), (Grid{{0}, {0}, {30}, {27}}));
}

TEST(LevelOwnership, DeletingTheLevelDeletesItsObjectsAndAddedOnes) {
    ScratchDir dir;
    ProbeLog added;
    dir.write("data/levels/two.lvl", "2 1\n35\n31\nTwo\n");
    std::unique_ptr<Level> level = quietLevel(0);
    capture([&] { level->load("data/levels/two.lvl"); });
    level->addThing(new Probe(0, 0, 0, &added));
    level->addThing(new Probe(1, 0, 0, &added));
    ASSERT_EQ(level->getThings().size(), 4u);
    EXPECT_EQ(level->getThings()[2]->getType(), 0);
    level.reset();
    EXPECT_EQ(added.deleted, 2);
}

TEST(LevelOwnership, LoadingAgainDeletesTheObjectsOfTheLastLoadOneDotEach) {
    ScratchDir dir;
    ProbeLog added;
    dir.write("data/levels/none.lvl", "1 1\n0\nEmpty\n");
    std::unique_ptr<Level> level = quietLevel(0);
    for (int i = 0; i < 3; ++i) level->addThing(new Probe(0, 0, 0, &added));
    const Captured output = capture([&] { level->load("data/levels/none.lvl"); });
    EXPECT_EQ(added.deleted, 3);
    EXPECT_EQ(output.out.rfind("Loading data/levels/none.lvl...\n", 0), 0u) << output.out;
    EXPECT_TRUE(level->getThings().empty());
}

}  // namespace

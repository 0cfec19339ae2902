#include "level/Level.h"
#include "menus/Settings.h"
#include "tests/level/LevelTestSupport.h"
#include "tests/support/TestSupport.h"
#include "media/Geometry.h"

#include <gtest/gtest.h>

#include <sstream>
#include <vector>

namespace {

class ShippedLevel : public testing::Test {
protected:
    void SetUp() override { dir.useShipped("levels"); }
    std::unique_ptr<Level> loaded(const std::string& path) {
        std::unique_ptr<Level> level = quietLevel(0);
        capture([&] { ok = level->load(path); });
        return level;
    }

    ScratchDir dir;
    bool ok = false;
};

TEST_F(ShippedLevel, TheMenuObjectsStandApartFromTheStart) {
    for (int size : {32, 16}) {
        SCOPED_TRACE(size);
        tileSize = size;
        std::unique_ptr<Level> menu = loaded("data/levels/menu.lvl");
        ASSERT_TRUE(ok);
        int options = 0;
        int controls = 0;
        for (Thing* thing : menu->getThings()) {
            options += thing->getType() == 38;
            controls += thing->getType() == 39;
            EXPECT_FALSE(overlaps(*thing->getRect(), *menu->getPlayer().getRect()))
                << "kind " << thing->getType();
        }
        EXPECT_EQ(options, 1);
        EXPECT_EQ(controls, 1);
    }
}

}  // namespace

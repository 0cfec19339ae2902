// Numbers from a level file can be anything: object positions and portal
// targets built from them wrap at 16 bits like every position, at any tile
// size, and never overflow on the way.
#include "menus/Settings.h"
#include "tests/support/TestSupport.h"
#include "things/Portal.h"
#include "things/Thing.h"

#include <gtest/gtest.h>

#include <climits>
#include <sstream>

namespace {

TEST(ThingRobustness, PortalTargetsOfAnySizeWrapToSixteenBits) {
    ScratchDir dir;
    tileSize = 16;
    // 200,000,000 × 16 and -200,000,000 × 16 leave the int range.
    std::istringstream in("200000000 -200000000 7");
    Portal portal(0, 0);
    in >> portal;
    EXPECT_EQ(portal.getTargetX(), 8192);
    EXPECT_EQ(portal.getTargetY(), -8192);
    int next = 0;
    ASSERT_TRUE(in >> next);
    EXPECT_EQ(next, 7);

    tileSize = 1638;
    std::istringstream extremes("2147483647 -2147483648");
    Portal far(0, 0);
    extremes >> far;
    // (2^31 - 1) × 1638 is 1638 short of a multiple of 65536; -2^31 × 1638 is one.
    EXPECT_EQ(far.getTargetX(), -1638);
    EXPECT_EQ(far.getTargetY(), 0);
}

TEST(ThingRobustness, FarCellsAtTheLargestTileSizeWrap) {
    ScratchDir dir;
    tileSize = 1638;
    Thing far(1400000, INT_MAX);
    EXPECT_EQ(far.getRect()->x, 29824);  // 2,293,200,000 mod 65536
    EXPECT_EQ(far.getRect()->y, -1638);
    EXPECT_EQ(far.getRect()->w, 1638);
}

}  // namespace

#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

TEST(Harness, ScratchDirectoryHasADataTree) {
    ScratchDir dir;
    EXPECT_TRUE(dir.exists("data/preferences"));
    EXPECT_TRUE(dir.exists("data/images/32"));
}

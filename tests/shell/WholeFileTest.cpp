#include "shell/WholeFile.h"

#include "menus/Settings.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const std::string prefsFile = "data/preferences/prefs.cdv";

TEST(WholeFile, ReplacesTheOldContentsAndLeavesNoTemporary) {
    ScratchDir dir;
    dir.write("notes.txt", "a much longer old text than the new one\n");
    EXPECT_TRUE(writeWholeFile("notes.txt", "new\n"));
    EXPECT_EQ(dir.read("notes.txt"), "new\n");
    EXPECT_FALSE(dir.exists("notes.txt.new"));
}

// The disk fills up while the player's own settings are saved: the file they
// had stays whole, and the player is told.
TEST(WholeFile, AFailedWriteKeepsThePlayersPreferences) {
    ScratchDir dir;
    const std::string own = "1\n16\n0\n32 276 275 104 98 120 \n";
    dir.write(prefsFile, own);
    readPreferences();
    tileSize = 32;
    std::string err;
    {
        FailingWrites full;
        EXPECT_FALSE(writePreferences());
        err = full.err();
    }
    EXPECT_EQ(dir.read(prefsFile), own);
    EXPECT_FALSE(dir.exists(prefsFile + ".new"));
    EXPECT_EQ(err, "Could not write " + prefsFile + ": File too large; the old file is kept\n");

    // Once there is room again the same call saves the change.
    EXPECT_TRUE(writePreferences());
    EXPECT_EQ(dir.read(prefsFile), "1\n32\n0\n32 276 275 104 98 120 \n");
}

TEST(WholeFile, AFailedWriteKeepsTheWindowAndPadSettings) {
    ScratchDir dir;
    windowScale = 3;
    ASSERT_TRUE(writeWindowAndPad());
    const std::string before = dir.read(windowAndPadPath);
    windowScale = 2;
    {
        FailingWrites full;
        EXPECT_FALSE(writeWindowAndPad());
        EXPECT_NE(full.err().find("the old file is kept"), std::string::npos);
    }
    EXPECT_EQ(dir.read(windowAndPadPath), before);
}

}  // namespace

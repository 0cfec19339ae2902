// Hostile preferences: whatever the file holds, reading it leaves settings
// the game can open its window and read keys with, and the next write puts a
// well-formed file in its place that reads back to the same settings.
#include "menus/Settings.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <SDL.h>

#include <sys/stat.h>

#include <iostream>
#include <string>

namespace {

const std::string prefsFile = "data/preferences/prefs.cdv";

// Reads the preferences with their messages captured and dropped.
void readQuietly() {
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    readPreferences();
    std::cout.flush();
    std::cerr.flush();
    testing::internal::GetCapturedStdout();
    testing::internal::GetCapturedStderr();
}

void expectUsableSettings() {
    EXPECT_GT(tileSize, 0);
    EXPECT_LE(20 * tileSize, 16383);
    for (int key : userKeys) {
        EXPECT_GE(key, 0);
        EXPECT_LT(key, SDLK_LAST);
    }
}

TEST(PreferencesRobustness, AnyFileGivesUsableSettingsAndIsRewrittenWellFormed) {
    const std::string cases[] = {
        std::string("\x00\xff\xfe\x01garbage\n\x80\x7f", 12),
        "1\n0\n0\n",
        "0\n-32\n-1\n-5 -6 -7 -8 -9 -10 \n",
        "1\n2147483647\n2147483647\n2147483647 999999 65536 323 322 -2147483648 \n",
        "7\n16\n0\n97 97 97 97 97 97 \n",
        "0\n16\n0\n260 97 100 113 101 115 \n trailing junk \xff\n",
        "",
    };
    for (const std::string& text : cases) {
        SCOPED_TRACE(testing::PrintToString(text));
        ScratchDir dir;
        dir.write(prefsFile, text);
        readQuietly();
        expectUsableSettings();

        const bool music = musicOn;
        const int size = tileSize;
        const int reserved = reservedSetting;
        int keys[userKeyCount];
        for (int i = 0; i < userKeyCount; ++i) keys[i] = userKeys[i];
        writePreferences();
        std::string expected = std::string(music ? "1" : "0") + "\n" + std::to_string(size) +
                               "\n" + std::to_string(reserved) + "\n";
        for (int key : keys) expected += std::to_string(key) + " ";
        EXPECT_EQ(dir.read(prefsFile), expected + "\n");

        resetSettings();
        readQuietly();
        EXPECT_EQ(musicOn, music);
        EXPECT_EQ(tileSize, size);
        EXPECT_EQ(reservedSetting, reserved);
        for (int i = 0; i < userKeyCount; ++i) EXPECT_EQ(userKeys[i], keys[i]) << i;
    }
}

TEST(PreferencesRobustness, AFolderInPlaceOfTheFileIsLeftAloneAndSaidSo) {
    ScratchDir dir;
    ASSERT_EQ(mkdir((dir.path() + "/" + prefsFile).c_str(), 0755), 0);
    tileSize = 16;
    readQuietly();
    EXPECT_EQ(tileSize, 16);
    expectUsableSettings();

    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    EXPECT_FALSE(writePreferences());
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Could not replace " + prefsFile + ": Is a directory; the old file is kept\n");
    EXPECT_FALSE(dir.exists(prefsFile + ".new"));  // no temporary left behind
    struct stat info {};
    ASSERT_EQ(stat((dir.path() + "/" + prefsFile).c_str(), &info), 0);
    EXPECT_TRUE(S_ISDIR(info.st_mode));
}

}  // namespace

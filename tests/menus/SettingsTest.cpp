#include "menus/Settings.h"

#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>

namespace {

const std::string prefsFile = "data/preferences/prefs.cdv";
const std::string defaultsText = "1\n32\n0\n260 97 100 113 101 115 \n";

// Each test runs in an empty data/ tree with the built-in defaults.
class SettingsTest : public ::testing::Test {
protected:
    // Reads the preferences and returns what went to standard output and error.
    void readCapturing() {
        testing::internal::CaptureStdout();
        testing::internal::CaptureStderr();
        readPreferences();
        std::cout.flush();
        std::cerr.flush();
        fflush(stdout);
        fflush(stderr);
        out = testing::internal::GetCapturedStdout();
        err = testing::internal::GetCapturedStderr();
    }

    void expectKeys(int k0, int k1, int k2, int k3, int k4, int k5) {
        const int expected[userKeyCount] = {k0, k1, k2, k3, k4, k5};
        for (int i = 0; i < userKeyCount; ++i) {
            EXPECT_EQ(userKeys[i], expected[i]) << userKeyCaptions[i];
        }
    }

    ScratchDir dir;
    std::string out;
    std::string err;
};

TEST_F(SettingsTest, MissingFileIsReportedAndChangesNothing) {
    tileSize = 16;
    musicOn = true;
    userKeys[KeyJump] = SDLK_SPACE;
    readCapturing();
    EXPECT_EQ(out, "No prefs file found\n");
    EXPECT_EQ(err, "");
    EXPECT_EQ(tileSize, 16);
    EXPECT_TRUE(musicOn);
    EXPECT_EQ(userKeys[KeyJump], SDLK_SPACE);
}

TEST_F(SettingsTest, FirstWriteHoldsTheDefaults) {
    ASSERT_FALSE(dir.exists(prefsFile));
    writePreferences();
    EXPECT_EQ(dir.read(prefsFile), defaultsText);
}

TEST_F(SettingsTest, WriteWithoutThePreferencesFolderFailsAndSaysSo) {
    ASSERT_EQ(std::system(("rmdir '" + dir.path() + "/data/preferences'").c_str()), 0);
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    EXPECT_FALSE(writePreferences());
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Could not write " + prefsFile + ": No such file or directory; the old file is kept\n");
    EXPECT_FALSE(dir.exists("data/preferences"));
}

TEST_F(SettingsTest, FullFileReplacesEverySetting) {
    dir.write(prefsFile, "1\n16\n7\n32 276 275 104 98 120 \n");
    readCapturing();
    EXPECT_EQ(out, "Reading prefs from data/preferences/prefs.cdv\n");
    EXPECT_EQ(err, "");
    EXPECT_TRUE(musicOn);
    EXPECT_EQ(tileSize, 16);
    EXPECT_EQ(reservedSetting, 7);
    expectKeys(32, 276, 275, 104, 98, 120);
    EXPECT_EQ(getUserKey(KeyLeft), SDLK_LEFT);
    EXPECT_EQ(getUserKey(KeyExplodeAll), SDLK_x);
}

TEST_F(SettingsTest, StoredZeroSilencesTheMusicThatIsOnByDefault) {
    resetSettings();
    ASSERT_TRUE(musicOn);
    dir.write(prefsFile, "0\n32\n0\n260 97 100 113 101 115 \n");
    readCapturing();
    EXPECT_FALSE(musicOn);
    writePreferences();
    EXPECT_EQ(dir.read(prefsFile).substr(0, 2), "0\n");
}

TEST_F(SettingsTest, FileEndingAfterTheThirdLineKeepsEveryKeyAndSaysSo) {
    userKeys[KeyJump] = SDLK_SPACE;  // bound in this session before the file was read
    dir.write(prefsFile, "1\n16\n0\n");
    readCapturing();
    EXPECT_EQ(tileSize, 16);
    expectKeys(SDLK_SPACE, 97, 100, 113, 101, 115);
    EXPECT_EQ(out, "Reading prefs from data/preferences/prefs.cdv\n"
                   "No key codes in the prefs file for Jump, Left, Right, Query Hint, Lay Bomb, "
                   "Explode All; keeping their keys\n");
    EXPECT_EQ(err, "");
}

TEST_F(SettingsTest, FourCodesLeaveTheLastTwoActionsTheirKeys) {
    dir.write(prefsFile, "0\n32\n0\n1 2 3 4\n");
    readCapturing();
    expectKeys(1, 2, 3, 4, 101, 115);
    EXPECT_NE(out.find("for Lay Bomb, Explode All; keeping"), std::string::npos) << out;
}

// Whatever breaks the file, the hero keeps keys to walk and jump with, and
// the rewrite stores them, so the next start is playable too.
TEST_F(SettingsTest, BrokenFilesKeepUsableKeysThroughTheRewrite) {
    const std::string broken[] = {
        "",
        std::string("\x9c\x01\xffgarbage\n\x00\x7f", 14),
        "1\n99999999999999999999\n0\n260 97 100 113 101 115 \n",
        "1\n32\n",
        "1\n32\n0\n260 97 1000000000000\n",
    };
    for (const std::string& text : broken) {
        resetSettings();
        dir.write(prefsFile, text);
        readCapturing();
        expectKeys(260, 97, 100, 113, 101, 115);
        EXPECT_NE(out.find("keeping their keys"), std::string::npos) << out;
        ASSERT_TRUE(writePreferences());
        resetSettings();
        userKeys[KeyJump] = 0;
        userKeys[KeyRight] = 0;
        readCapturing();
        EXPECT_EQ(userKeys[KeyJump], SDLK_KP4) << "after rewriting " << text;
        EXPECT_EQ(userKeys[KeyRight], SDLK_d) << "after rewriting " << text;
        EXPECT_EQ(tileSize, 32);
    }
}

TEST_F(SettingsTest, WriteAfterReadGivesTheCanonicalLayout) {
    dir.write(prefsFile, "1 24\n\n  3\t260 97\n100 113 101 115");
    readCapturing();
    writePreferences();
    EXPECT_EQ(dir.read(prefsFile), "1\n24\n3\n260 97 100 113 101 115 \n");
}

TEST_F(SettingsTest, ChangedSettingsSurviveAWriteAndRead) {
    musicOn = true;
    tileSize = 16;
    reservedSetting = -4;
    userKeys[KeyLayBomb] = SDLK_b;
    writePreferences();
    resetSettings();
    readCapturing();
    EXPECT_TRUE(musicOn);
    EXPECT_EQ(tileSize, 16);
    EXPECT_EQ(reservedSetting, -4);
    expectKeys(260, 97, 100, 113, SDLK_b, 115);
}

TEST_F(SettingsTest, UnusualTileSizeIsUsedUnchanged) {
    for (int size : {24, 1, 819}) {
        dir.write(prefsFile, "0\n" + std::to_string(size) + "\n0\n260 97 100 113 101 115 \n");
        readCapturing();
        EXPECT_EQ(tileSize, size);
        EXPECT_EQ(err, "") << size;
    }
}

TEST_F(SettingsTest, TileSizeThatCannotMakeAWindowFallsBackTo32) {
    for (const char* bad : {"0", "-16", "820", "1639", "99999999999", "big"}) {
        tileSize = 16;
        dir.write(prefsFile, std::string("0\n") + bad + "\n0\n260 97 100 113 101 115 \n");
        readCapturing();
        EXPECT_EQ(tileSize, 32) << bad;
        EXPECT_NE(err.find("Tile size"), std::string::npos) << bad;
        EXPECT_EQ(err.back(), '\n') << bad;
    }
    // The message names the value it refused.
    dir.write(prefsFile, "0\n-16\n0\n260 97 100 113 101 115 \n");
    readCapturing();
    EXPECT_NE(err.find("-16"), std::string::npos) << err;
    dir.write(prefsFile, "0\n820\n0\n260 97 100 113 101 115 \n");
    readCapturing();
    EXPECT_NE(err.find("820"), std::string::npos) << err;
}

TEST_F(SettingsTest, KeyCodeSdlCannotHoldKeepsTheDefaultBinding) {
    dir.write(prefsFile, "0\n32\n0\n-1 " + std::to_string(SDLK_LAST) + " 0 " +
                             std::to_string(SDLK_LAST - 1) + " 32 120 \n");
    readCapturing();
    expectKeys(260, 97, 0, SDLK_LAST - 1, 32, 120);
    EXPECT_NE(err.find("-1"), std::string::npos) << err;
    EXPECT_NE(err.find(std::to_string(SDLK_LAST)), std::string::npos) << err;
    // One line for each refused code, none for the others.
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 2) << err;
}

TEST_F(SettingsTest, BadLastCodeRepeatedKeepsBothDefaults) {
    dir.write(prefsFile, "0\n32\n0\n1 2 3 -7\n");
    readCapturing();
    expectKeys(1, 2, 3, 113, 101, 115);
}

TEST_F(SettingsTest, InvalidUserKeyIsReportedAndUnbound) {
    testing::internal::CaptureStderr();
    const int key = getUserKey(6);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "6 not a valid UserKey!\n");
    EXPECT_EQ(key, 0);
}

TEST_F(SettingsTest, ResetPutsTheDefaultsBack) {
    musicOn = false;
    tileSize = 16;
    reservedSetting = 9;
    for (int i = 0; i < userKeyCount; ++i) userKeys[i] = 0;
    resetSettings();
    EXPECT_TRUE(musicOn);
    EXPECT_EQ(tileSize, 32);
    EXPECT_EQ(reservedSetting, 0);
    expectKeys(260, 97, 100, 113, 101, 115);
}

}  // namespace

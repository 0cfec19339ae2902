#include "menus/Settings.h"

#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <iostream>
#include <string>

namespace {

void expectDefaults() {
    EXPECT_EQ(windowScale, 1);
    EXPECT_FALSE(fullScreen);
    for (int i = 0; i < userKeyCount; ++i) EXPECT_EQ(padButtons[i], defaultPadButtons[i]) << i;
}

std::string reported(WindowAndPadRead result) {
    testing::internal::CaptureStdout();
    reportWindowAndPad(result);
    std::cout.flush();
    return testing::internal::GetCapturedStdout();
}

TEST(WindowAndPad, RoundTripKeepsEverySetting) {
    ScratchDir dir;
    windowScale = 3;
    fullScreen = true;
    const int buttons[userKeyCount] = {5, noPadButton, 7, 0, 63, 2};
    for (int i = 0; i < userKeyCount; ++i) padButtons[i] = buttons[i];
    ASSERT_TRUE(writeWindowAndPad());
    resetSettings();

    EXPECT_EQ(readWindowAndPad(), WindowAndPadRead::Read);
    EXPECT_EQ(windowScale, 3);
    EXPECT_TRUE(fullScreen);
    for (int i = 0; i < userKeyCount; ++i) EXPECT_EQ(padButtons[i], buttons[i]) << i;
    EXPECT_EQ(reported(WindowAndPadRead::Read), "");
    // The preferences file is not touched: it keeps its four lines.
    EXPECT_FALSE(dir.exists(prefsPath));
}

TEST(WindowAndPad, MissingFileMeansScaleOneWindowedAndSaysSo) {
    ScratchDir dir;
    windowScale = 4;
    fullScreen = true;
    const WindowAndPadRead result = readWindowAndPad();
    EXPECT_EQ(result, WindowAndPadRead::Missing);
    expectDefaults();
    EXPECT_EQ(reported(result), "No window settings found: scale 1, windowed\n");
}

TEST(WindowAndPad, PartialFileKeepsTheDefaultsForWhatItLacks) {
    ScratchDir dir;
    dir.write(windowAndPadPath, "# mine\n\nfullscreen 1\n");
    EXPECT_EQ(readWindowAndPad(), WindowAndPadRead::Read);
    EXPECT_TRUE(fullScreen);
    EXPECT_EQ(windowScale, 1);
    EXPECT_EQ(padButtons[KeyJump], 0);
}

TEST(WindowAndPad, HostileContentGivesTheDefaults) {
    const std::string hostile[] = {
        "scale 0\n",
        "scale 17\n",
        "scale -3\n",
        "scale\n",
        "scale two\n",
        "scale 2 3\n",
        "scale 99999999999999999999\n",
        "fullscreen 2\n",
        "pad 0 1 2\n",
        "pad 0 -1 -1 2 1 64\n",
        "pad 0 -2 -1 2 1 3\n",
        "volume 11\n",
        "scale 2\nfullscreen 1\n" + std::string(5000, 'x') + "\n",
        std::string("scale 2\n\x01\xff\x00garbage", 17),
    };
    for (const std::string& text : hostile) {
        SCOPED_TRACE(text.substr(0, 40));
        ScratchDir dir;
        dir.write(windowAndPadPath, text);
        const WindowAndPadRead result = readWindowAndPad();
        EXPECT_EQ(result, WindowAndPadRead::Broken);
        expectDefaults();
        EXPECT_EQ(reported(result), "Window settings in data/preferences/window-and-pad.cdv are "
                                    "broken: scale 1, windowed, default pad buttons\n");
    }
}

}  // namespace

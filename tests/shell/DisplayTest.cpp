#include "shell/Display.h"

#include "menus/Settings.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

namespace {

TEST(PresentLayout, WindowScalesStopAtWhatTheDesktopHolds) {
    EXPECT_EQ(largestScale(640, 480, 1920, 1080), 2);
    EXPECT_EQ(largestScale(320, 240, 1920, 1080), 4);
    EXPECT_EQ(largestScale(640, 480, 3840, 2160), 4);
    EXPECT_EQ(largestScale(640, 480, 800, 400), 1);  // never below 1

    const PresentLayout three = layoutFor(640, 480, 3, false, 2560, 1600);
    EXPECT_EQ(three.scale, 3);
    EXPECT_EQ(three.windowW, 1920);
    EXPECT_EQ(three.windowH, 1440);
    EXPECT_EQ(three.x, 0);
    EXPECT_EQ(three.y, 0);
    EXPECT_EQ(layoutFor(640, 480, 3, false, 1920, 1080).scale, 2);
    // A tile-size change keeps the scale: 16 at 4 is 1280 by 960.
    const PresentLayout small = layoutFor(320, 240, 4, false, 1920, 1080);
    EXPECT_EQ(small.windowW, 1280);
    EXPECT_EQ(small.windowH, 960);
    // Unknown desktop: the wish stands.
    EXPECT_EQ(layoutFor(640, 480, 5, false, 0, 0).windowW, 3200);
}

TEST(PresentLayout, FullScreenTakesTheDesktopAndCentresThePicture) {
    const PresentLayout big = layoutFor(640, 480, 1, true, 1920, 1080);
    EXPECT_EQ(big.scale, 2);
    EXPECT_EQ(big.windowW, 1920);
    EXPECT_EQ(big.windowH, 1080);
    EXPECT_EQ(big.x, 320);
    EXPECT_EQ(big.y, 60);
    const PresentLayout small = layoutFor(320, 240, 1, true, 1920, 1080);
    EXPECT_EQ(small.scale, 4);
    EXPECT_EQ(small.x, 320);
    EXPECT_EQ(small.y, 60);
    const PresentLayout odd = layoutFor(640, 480, 2, true, 1366, 768);
    EXPECT_EQ(odd.scale, 1);
    EXPECT_EQ(odd.x, 363);
    EXPECT_EQ(odd.y, 144);
}

TEST(PresentLayout, ClicksLandOnThePictureUnderThem) {
    const PresentLayout l = layoutFor(640, 480, 1, true, 1920, 1080);  // 2x at (320, 60)
    int x = -1;
    int y = -1;
    ASSERT_TRUE(windowToPicture(l, 320, 60, &x, &y));
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 0);
    ASSERT_TRUE(windowToPicture(l, 321, 61, &x, &y));
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 0);
    ASSERT_TRUE(windowToPicture(l, 320 + 2 * 20, 60 + 2 * 15, &x, &y));  // the Music button's corner
    EXPECT_EQ(x, 20);
    EXPECT_EQ(y, 15);
    ASSERT_TRUE(windowToPicture(l, 1599, 1019, &x, &y));
    EXPECT_EQ(x, 639);
    EXPECT_EQ(y, 479);
    EXPECT_FALSE(windowToPicture(l, 319, 100, &x, &y));
    EXPECT_FALSE(windowToPicture(l, 1600, 100, &x, &y));
    EXPECT_FALSE(windowToPicture(l, 400, 59, &x, &y));
    EXPECT_FALSE(windowToPicture(l, 400, 1020, &x, &y));
}

TEST(PresentLayout, EachPicturePixelBecomesASharpSquare) {
    SDL_Surface* picture = SDL_CreateRGBSurface(SDL_SWSURFACE, 4, 3, 32, 0xFF0000, 0xFF00, 0xFF, 0);
    SDL_Surface* target = SDL_CreateRGBSurface(SDL_SWSURFACE, 20, 15, 32, 0xFF0000, 0xFF00, 0xFF, 0);
    ASSERT_NE(picture, nullptr);
    ASSERT_NE(target, nullptr);
    SDL_FillRect(target, nullptr, SDL_MapRGB(target->format, 9, 9, 9));
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 4; ++x) {
            SDL_Rect cell = {static_cast<Sint16>(x), static_cast<Sint16>(y), 1, 1};
            SDL_FillRect(picture, &cell,
                         SDL_MapRGB(picture->format, static_cast<Uint8>(10 * x),
                                    static_cast<Uint8>(10 * y), 200));
        }
    }
    PresentLayout l = layoutFor(4, 3, 3, false, 0, 0);
    l.x = 2;
    l.y = 1;
    scalePicture(picture, target, l);
    for (int y = 0; y < 15; ++y) {
        for (int x = 0; x < 20; ++x) {
            const SDL_Color c = pixelAt(target, x, y);
            const bool inside = x >= 2 && x < 14 && y >= 1 && y < 10;
            if (!inside) {
                ASSERT_EQ(c.r, 9) << x << "," << y;
                continue;
            }
            ASSERT_EQ(c.r, 10 * ((x - 2) / 3)) << x << "," << y;
            ASSERT_EQ(c.g, 10 * ((y - 1) / 3)) << x << "," << y;
            ASSERT_EQ(c.b, 200);
        }
    }
    SDL_FreeSurface(picture);
    SDL_FreeSurface(target);
}

// The game's window through the present step, on the test's video driver.
class DisplayTest : public ::testing::Test {
protected:
    void TearDown() override {
        closeDisplay();
        SDL_SetVideoMode(640, 480, 32, 0);
    }
    ScratchDir dir;
};

TEST_F(DisplayTest, ScaleOneDrawsStraightIntoTheWindow) {
    SDL_Surface* picture = openDisplay(640, 480, 0);
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture, SDL_GetVideoSurface());
    EXPECT_EQ(currentPicture(nullptr), picture);
}

TEST_F(DisplayTest, ScaleTwoEnlargesThePictureAndMapsClicks) {
    windowScale = 2;
    SDL_Surface* picture = openDisplay(320, 240, 0);
    ASSERT_NE(picture, nullptr);
    SDL_Surface* window = SDL_GetVideoSurface();
    ASSERT_NE(picture, window);
    EXPECT_EQ(window->w, 640);
    EXPECT_EQ(window->h, 480);
    SDL_FillRect(picture, nullptr, SDL_MapRGB(picture->format, 0, 0, 0));
    SDL_Rect dot = {100, 50, 1, 1};
    SDL_FillRect(picture, &dot, SDL_MapRGB(picture->format, 255, 0, 0));
    presentPicture(picture);
    EXPECT_EQ(pixelAt(window, 200, 100).r, 255);
    EXPECT_EQ(pixelAt(window, 201, 101).r, 255);
    EXPECT_EQ(pixelAt(window, 202, 100).r, 0);

    SDL_Event click{};
    click.type = SDL_MOUSEBUTTONDOWN;
    click.button.x = 41;
    click.button.y = 31;
    EXPECT_TRUE(filterDisplayEvent(click));
    EXPECT_EQ(click.button.x, 20);
    EXPECT_EQ(click.button.y, 15);
}

TEST_F(DisplayTest, F11GoesFullScreenKeepsThePictureAndComesBack) {
    setDesktopSize(1920, 1080);
    SDL_Surface* window = openDisplay(640, 480, 0);
    ASSERT_NE(window, nullptr);
    SDL_FillRect(window, nullptr, SDL_MapRGB(window->format, 0, 0, 255));

    SDL_Event f11{};
    f11.type = SDL_KEYDOWN;
    f11.key.keysym.sym = SDLK_F11;
    EXPECT_FALSE(filterDisplayEvent(f11));  // used up: no loop sees it
    ASSERT_TRUE(fullScreen);
    SDL_Surface* video = SDL_GetVideoSurface();
    EXPECT_EQ(video->w, 1920);
    EXPECT_EQ(video->h, 1080);
    EXPECT_NE(video->flags & SDL_FULLSCREEN, 0u);
    // What was on the screen is still shown, doubled and centred on black.
    EXPECT_EQ(pixelAt(video, 320, 60).b, 255);
    EXPECT_EQ(pixelAt(video, 1599, 1019).b, 255);
    EXPECT_EQ(pixelAt(video, 319, 60).b, 0);
    EXPECT_EQ(pixelAt(currentPicture(nullptr), 639, 479).b, 255);
    // Remembered for the next start.
    EXPECT_EQ(readWindowAndPad(), WindowAndPadRead::Read);
    EXPECT_TRUE(fullScreen);

    EXPECT_FALSE(filterDisplayEvent(f11));
    EXPECT_FALSE(fullScreen);
    video = SDL_GetVideoSurface();
    EXPECT_EQ(video->w, 640);
    EXPECT_EQ(video->h, 480);
    EXPECT_EQ(currentPicture(nullptr), video);
    EXPECT_EQ(pixelAt(video, 0, 0).b, 255);
}

}  // namespace

#include "media/Images.h"

#include "menus/Settings.h"
#include "tests/media/SampleFiles.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <iostream>
#include <string>

namespace {
const SDL_Color cyan{0, 255, 255, 0};
const SDL_Color red{255, 0, 0, 0};
const SDL_Color green{0, 200, 0, 0};
const SDL_Color blue{0, 0, 255, 0};
const SDL_Color white{255, 255, 255, 0};

std::string capturedOut() {
    std::cout.flush();
    std::fflush(stdout);
    return testing::internal::GetCapturedStdout();
}

bool sameColour(SDL_Color a, SDL_Color b) { return a.r == b.r && a.g == b.g && a.b == b.b; }

// A 32-bit surface in the screen's format, filled with one colour.
SDL_Surface* canvas(int w, int h, SDL_Color fill) {
    const SDL_PixelFormat* screen = SDL_GetVideoSurface()->format;
    SDL_Surface* surface = SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 32, screen->Rmask,
                                                screen->Gmask, screen->Bmask, 0);
    SDL_FillRect(surface, nullptr, SDL_MapRGB(surface->format, fill.r, fill.g, fill.b));
    return surface;
}

int countLines(const std::string& text) {
    int lines = 0;
    for (char c : text) lines += c == '\n';
    return lines;
}

// Restores the tile size a test changes.
struct TileSizeGuard {
    int saved = tileSize;
    ~TileSizeGuard() { tileSize = saved; }
};
}  // namespace

class ImageLoading : public testing::Test {
protected:
    ScratchDir dir;
    TileSizeGuard sizeGuard;
    std::string images32() const { return dir.path() + "/data/images/32/"; }
};

TEST_F(ImageLoading, PngOnlyImageAnnouncesOneBmpFailureThenLoadsWithCyanTransparent) {
    ASSERT_TRUE(writeFile(images32() + "door.png", pngBytes(2, 1, {cyan, red})));

    testing::internal::CaptureStdout();
    SDL_Surface* door = loadTileImage("door");
    const std::string out = capturedOut();

    ASSERT_NE(door, nullptr);
    EXPECT_EQ(door->w, 2);
    EXPECT_EQ(door->h, 1);
    const std::string head = "Image ./data/images/32/door.bmp failed to load! \n";
    EXPECT_EQ(out.substr(0, head.size()), head);
    EXPECT_EQ(countLines(out), 2) << out;  // the message, then SDL's reason
    EXPECT_GT(out.size(), head.size() + 1) << "the reason line is empty";
    EXPECT_EQ(out.find(".png"), std::string::npos);

    EXPECT_TRUE(door->flags & SDL_SRCCOLORKEY);
    EXPECT_FALSE(door->flags & (SDL_RLEACCEL | SDL_RLEACCELOK)) << "colour key without RLE";
    EXPECT_EQ(door->format->colorkey, SDL_MapRGB(door->format, 0, 255, 255));

    SDL_Surface* target = canvas(4, 1, blue);
    drawSurface(0, 0, door, target, nullptr, 255);
    EXPECT_TRUE(sameColour(pixelAt(target, 0, 0), blue)) << "cyan must not be drawn";
    EXPECT_TRUE(sameColour(pixelAt(target, 1, 0), red));
    SDL_FreeSurface(target);
    SDL_FreeSurface(door);
}

TEST_F(ImageLoading, BmpIsTakenBeforePngWithoutAnyMessage) {
    saveBmp(images32() + "door.bmp", 3, 3, std::vector<SDL_Color>(9, green));
    ASSERT_TRUE(writeFile(images32() + "door.png", pngBytes(2, 1, {cyan, red})));

    testing::internal::CaptureStdout();
    SDL_Surface* door = loadTileImage("door");
    const std::string out = capturedOut();

    ASSERT_NE(door, nullptr);
    EXPECT_EQ(door->w, 3);
    EXPECT_EQ(out, "");
    EXPECT_TRUE(sameColour(pixelAt(door, 1, 1), green));
    SDL_FreeSurface(door);
}

TEST_F(ImageLoading, MissingImageReportsBothPathsInOrderAndGivesNull) {
    testing::internal::CaptureStdout();
    SDL_Surface* none = loadTileImage("nothing");
    const std::string out = capturedOut();

    EXPECT_EQ(none, nullptr);
    const std::size_t bmp = out.find("Image ./data/images/32/nothing.bmp failed to load! \n");
    const std::size_t png = out.find("Image ./data/images/32/nothing.png failed to load! \n");
    ASSERT_NE(bmp, std::string::npos) << out;
    ASSERT_NE(png, std::string::npos) << out;
    EXPECT_LT(bmp, png);
    EXPECT_EQ(countLines(out), 4) << out;
}

TEST_F(ImageLoading, ConvertsToTheDisplayFormat) {
    // saveBmp writes 24 bits per pixel; the screen is 32.
    saveBmp(images32() + "crate.bmp", 2, 2, std::vector<SDL_Color>(4, red));
    SDL_Surface* crate = loadTileImage("crate");
    ASSERT_NE(crate, nullptr);
    const SDL_PixelFormat* screen = SDL_GetVideoSurface()->format;
    EXPECT_EQ(crate->format->BitsPerPixel, screen->BitsPerPixel);
    EXPECT_EQ(crate->format->Rmask, screen->Rmask);
    EXPECT_EQ(crate->format->Bmask, screen->Bmask);
    EXPECT_TRUE(sameColour(pixelAt(crate, 1, 1), red));
    SDL_FreeSurface(crate);
}

TEST_F(ImageLoading, SmallTilesComeFromTheSixteenFolder) {
    saveBmp(dir.path() + "/data/images/16/door.bmp", 4, 4, std::vector<SDL_Color>(16, green));
    saveBmp(images32() + "door.bmp", 8, 8, std::vector<SDL_Color>(64, green));
    tileSize = 16;

    SDL_Surface* door = loadTileImage("door");
    ASSERT_NE(door, nullptr);
    EXPECT_EQ(door->w, 4);
    SDL_FreeSurface(door);

    testing::internal::CaptureStdout();
    EXPECT_EQ(loadTileImage("hint"), nullptr);
    const std::string out = capturedOut();
    EXPECT_NE(out.find("Image ./data/images/16/hint.bmp failed to load! \n"), std::string::npos);
    EXPECT_NE(out.find("Image ./data/images/16/hint.png failed to load! \n"), std::string::npos);

    // The size is read at every call, so a change takes effect at once.
    tileSize = 32;
    door = loadTileImage("door");
    ASSERT_NE(door, nullptr);
    EXPECT_EQ(door->w, 8);
    SDL_FreeSurface(door);
}

TEST_F(ImageLoading, BackgroundNamesReachOneFileSharedByBothSizes) {
    saveBmp(dir.path() + "/data/images/bg01.bmp", 5, 3, std::vector<SDL_Color>(15, white));
    for (int size : {16, 32}) {
        tileSize = size;
        SDL_Surface* background = loadTileImage("../bg01");
        ASSERT_NE(background, nullptr) << "tile size " << size;
        EXPECT_EQ(background->w, 5);
        SDL_FreeSurface(background);
    }
}

TEST_F(ImageLoading, LongPathsAreCutToNinetyNineCharacters) {
    const std::string prefix = "./data/images/32/";
    const std::string name(120, 'n');
    const std::string cut = (prefix + name).substr(0, 99);

    testing::internal::CaptureStdout();
    EXPECT_EQ(loadTileImage(name), nullptr);
    const std::string out = capturedOut();
    const std::string message = "Image " + cut + " failed to load! \n";
    const std::size_t first = out.find(message);
    ASSERT_NE(first, std::string::npos) << out;
    EXPECT_NE(out.find(message, first + 1), std::string::npos) << "both attempts are cut alike";
    EXPECT_EQ(out.find(cut + "n"), std::string::npos);

    // The cut path, extension and all gone, names a file that really loads.
    saveBmp(dir.path() + "/" + cut.substr(2), 2, 2, std::vector<SDL_Color>(4, green));
    SDL_Surface* image = loadTileImage(name);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->w, 2);
    SDL_FreeSurface(image);
}

TEST_F(ImageLoading, TheBmpFlagChoosesTheDecoder) {
    ASSERT_TRUE(writeFile(images32() + "pic.png", pngBytes(1, 1, {red})));
    saveBmp(images32() + "pic.bmp", 1, 1, {green});

    testing::internal::CaptureStdout();
    SDL_Surface* pngAsBmp = loadImage("./data/images/32/pic.png", true);
    const std::string out = capturedOut();
    EXPECT_EQ(pngAsBmp, nullptr);
    EXPECT_EQ(out.rfind("Image ./data/images/32/pic.png failed to load! \n", 0), 0u) << out;

    // SDL_image reads by content, so it takes a BMP as well.
    SDL_Surface* bmpByContent = loadImage("./data/images/32/pic.bmp", false);
    ASSERT_NE(bmpByContent, nullptr);
    EXPECT_TRUE(sameColour(pixelAt(bmpByContent, 0, 0), green));
    EXPECT_TRUE(bmpByContent->flags & SDL_SRCCOLORKEY);
    SDL_FreeSurface(bmpByContent);
}

class Drawing : public testing::Test {
protected:
    void TearDown() override {
        SDL_FreeSurface(source);
        SDL_FreeSurface(target);
    }
    SDL_Surface* source = canvas(2, 2, white);
    SDL_Surface* target = canvas(16, 16, SDL_Color{0, 0, 0, 0});
};

TEST_F(Drawing, OpaqueDrawCopiesAtThePositionAndLeavesAlphaAlone) {
    drawSurface(3, 4, source, target, nullptr, 255);
    EXPECT_TRUE(sameColour(pixelAt(target, 3, 4), white));
    EXPECT_TRUE(sameColour(pixelAt(target, 4, 5), white));
    EXPECT_TRUE(sameColour(pixelAt(target, 5, 4), SDL_Color{0, 0, 0, 0}));
    EXPECT_TRUE(sameColour(pixelAt(target, 2, 4), SDL_Color{0, 0, 0, 0}));
    EXPECT_FALSE(source->flags & SDL_SRCALPHA);

    // A surface that already blends keeps its own alpha through an opaque draw.
    SDL_SetAlpha(source, SDL_SRCALPHA, 100);
    drawSurface(0, 0, source, target, nullptr, 255);
    EXPECT_TRUE(source->flags & SDL_SRCALPHA);
    EXPECT_EQ(source->format->alpha, 100);
}

TEST_F(Drawing, TranslucentDrawBlendsThenLeavesSourceAtFullAlpha) {
    drawSurface(0, 0, source, target, nullptr, 128);
    const SDL_Color blended = pixelAt(target, 0, 0);
    EXPECT_GE(blended.r, 120);
    EXPECT_LE(blended.r, 135);
    EXPECT_TRUE(source->flags & SDL_SRCALPHA);
    EXPECT_EQ(source->format->alpha, 255);

    // Full alpha afterwards: the next opaque-looking draw really is opaque.
    drawSurface(8, 8, source, target, nullptr, 255);
    EXPECT_TRUE(sameColour(pixelAt(target, 8, 8), white));
}

TEST_F(Drawing, SourceRectangleCopiesOnlyThatPart) {
    SDL_FreeSurface(source);
    source = canvas(4, 4, red);
    SDL_Rect topRight{2, 0, 2, 2};
    SDL_FillRect(source, &topRight, SDL_MapRGB(source->format, 0, 200, 0));

    drawSurface(10, 10, source, target, &topRight, 255);
    EXPECT_TRUE(sameColour(pixelAt(target, 10, 10), green));
    EXPECT_TRUE(sameColour(pixelAt(target, 11, 11), green));
    EXPECT_TRUE(sameColour(pixelAt(target, 12, 10), SDL_Color{0, 0, 0, 0}));
    EXPECT_TRUE(sameColour(pixelAt(target, 10, 12), SDL_Color{0, 0, 0, 0}));
    EXPECT_TRUE(sameColour(pixelAt(target, 9, 10), SDL_Color{0, 0, 0, 0}));
}

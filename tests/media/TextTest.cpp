#include "media/Text.h"

#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <set>
#include <string>
#include <vector>

namespace {
const SDL_Color black{0, 0, 0, 0};
const SDL_Color white{255, 255, 255, 0};

struct Extent {
    int w = 0;
    int h = 0;
};

// Measures text at a size with a font of its own, so the cache under test
// and its open count stay untouched.
Extent measure(const std::string& text, int size) {
    Extent extent;
    TTF_Font* font = TTF_OpenFont(fontPath, size);
    if (!font) return extent;
    TTF_SizeText(font, text.c_str(), &extent.w, &extent.h);
    TTF_CloseFont(font);
    return extent;
}

bool fitsIn(const Extent& text, const Extent& box) { return text.w < box.w && text.h < box.h; }

// The smallest box the text fits into at this size.
Extent tightBox(const std::string& text, int size) {
    const Extent extent = measure(text, size);
    return Extent{extent.w + 1, extent.h + 1};
}

std::string capturedErr() {
    std::fflush(stderr);
    return testing::internal::GetCapturedStderr();
}

SDL_Surface* canvas(int w, int h) {
    const SDL_PixelFormat* screen = SDL_GetVideoSurface()->format;
    SDL_Surface* surface = SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 32, screen->Rmask,
                                                screen->Gmask, screen->Bmask, 0);
    SDL_FillRect(surface, nullptr, SDL_MapRGB(surface->format, 0, 0, 0));
    return surface;
}

// The columns from the first to one past the last that hold a non-black pixel.
std::pair<int, int> inkedColumns(SDL_Surface* surface) {
    int first = surface->w;
    int last = -1;
    for (int y = 0; y < surface->h; ++y) {
        for (int x = 0; x < surface->w; ++x) {
            const SDL_Color c = pixelAt(surface, x, y);
            if (c.r || c.g || c.b) {
                first = std::min(first, x);
                last = std::max(last, x);
            }
        }
    }
    return {first, last + 1};
}
}  // namespace

class FittedText : public testing::Test {
protected:
    void SetUp() override { dir.useShipped("fonts"); }
    ScratchDir dir;

    // Renders, checks the result has the measured size at `size`, frees it.
    void expectRenderedAt(const std::string& text, Extent box, int size) {
        SDL_Surface* surface = renderFittedText(text, black, box.w, box.h);
        ASSERT_NE(surface, nullptr);
        const Extent expected = measure(text, size);
        EXPECT_EQ(surface->w, expected.w) << "rendered at another size than " << size;
        EXPECT_EQ(surface->h, expected.h);
        SDL_FreeSurface(surface);
    }
};

TEST_F(FittedText, RoomyBoxClimbsInSixteensToOneHundredTwentyEight) {
    const std::string text = "Hi";
    const Extent box = tightBox(text, 128);
    expectRenderedAt(text, box, 128);
    EXPECT_EQ(lastFittedSizes(), (std::vector<int>{16, 32, 48, 64, 80, 96, 112, 128}));

    // Even a box with room for more stops at 128.
    SDL_FreeSurface(renderFittedText(text, black, 10000, 10000));
    EXPECT_EQ(lastFittedSizes().back(), 128);
    EXPECT_EQ(lastFittedSizes().size(), 8u);
}

TEST_F(FittedText, OvershootHalvesBackToEightyEight) {
    const std::string text = "Lives: 5";
    const Extent box = tightBox(text, 88);
    ASSERT_FALSE(fitsIn(measure(text, 89), box)) << "box does not separate 88 from 89";
    expectRenderedAt(text, box, 88);
    EXPECT_EQ(lastFittedSizes(), (std::vector<int>{16, 32, 48, 64, 80, 96, 88, 96, 92, 90, 89}));
}

TEST_F(FittedText, TooSmallForSixteenSearchesDownToThirteen) {
    // The shipped font measures most texts alike at 13 and 14 points; a last
    // letter that overhangs its advance tells them apart.
    const std::string text = "Keys: W";
    const Extent box = tightBox(text, 13);
    ASSERT_FALSE(fitsIn(measure(text, 14), box)) << "box does not separate 13 from 14";
    expectRenderedAt(text, box, 13);
    EXPECT_EQ(lastFittedSizes(), (std::vector<int>{16, 8, 16, 12, 16, 14, 13, 14}));
}

TEST_F(FittedText, BothLimitsAreStrict) {
    const std::string text = "Bombs: 3";
    const Extent at16 = measure(text, 16);

    // Width equal to the limit does not fit; one more pixel does.
    SDL_Surface* surface = renderFittedText(text, black, at16.w, 1000);
    ASSERT_NE(surface, nullptr);
    EXPECT_LT(surface->w, at16.w);
    EXPECT_EQ(lastFittedSizes()[1], 8);
    SDL_FreeSurface(surface);
    SDL_FreeSurface(renderFittedText(text, black, at16.w + 1, 1000));
    EXPECT_EQ(lastFittedSizes()[1], 32);

    // The same for the height.
    surface = renderFittedText(text, black, 10000, at16.h);
    ASSERT_NE(surface, nullptr);
    EXPECT_LT(surface->h, at16.h);
    EXPECT_EQ(lastFittedSizes()[1], 8);
    SDL_FreeSurface(surface);
    SDL_FreeSurface(renderFittedText(text, black, 10000, at16.h + 1));
    EXPECT_EQ(lastFittedSizes()[1], 32);
}

TEST_F(FittedText, NothingFittingGivesNull) {
    testing::internal::CaptureStderr();
    SDL_Surface* surface = renderFittedText("Lives: 5", black, 1, 1);
    const std::string err = capturedErr();
    EXPECT_EQ(surface, nullptr);
    EXPECT_EQ(lastFittedSizes(), (std::vector<int>{16, 8, 4, 2, 1}));
    EXPECT_EQ(err, "");

    SDL_Surface* target = canvas(32, 32);
    drawText(0, 0, "Lives: 5", target, &white, 1, 1);
    EXPECT_EQ(inkedColumns(target).second, 0) << "nothing may be drawn";
    SDL_FreeSurface(target);
}

TEST_F(FittedText, CacheOpensEachSizeOnceAcrossCalls) {
    const std::string text = "Lives: 5";
    const Extent box = tightBox(text, 88);
    const int before = fontOpenCount();

    SDL_FreeSurface(renderFittedText(text, black, box.w, box.h));
    const std::set<int> distinct(lastFittedSizes().begin(), lastFittedSizes().end());
    EXPECT_EQ(fontOpenCount() - before, static_cast<int>(distinct.size()));

    SDL_FreeSurface(renderFittedText(text, black, box.w, box.h));
    EXPECT_EQ(fontOpenCount() - before, static_cast<int>(distinct.size()))
        << "sizes already open were opened again";

    // Another text shares the sizes already open and opens only new ones.
    std::set<int> all = distinct;
    SDL_FreeSurface(renderFittedText("Other text", black, 300, 50));
    all.insert(lastFittedSizes().begin(), lastFittedSizes().end());
    EXPECT_EQ(fontOpenCount() - before, static_cast<int>(all.size()));

    EXPECT_EQ(cachedFont(88), cachedFont(88));
    closeFontCache();
    const int afterClose = fontOpenCount();
    SDL_FreeSurface(renderFittedText(text, black, box.w, box.h));
    EXPECT_EQ(lastFittedSizes().size(), 11u);
    EXPECT_EQ(fontOpenCount() - afterClose, static_cast<int>(distinct.size()));
}

TEST(FittedTextWithoutFont, SaysSoOnceAndGivesNull) {
    ScratchDir dir;  // no font in this data tree
    testing::internal::CaptureStderr();
    SDL_Surface* surface = renderFittedText("Lives: 5", black, 640, 16);
    const std::string reason = SDL_GetError();
    const std::string err = capturedErr();

    EXPECT_EQ(surface, nullptr);
    EXPECT_EQ(err, "Could not open font data/fonts/VeraMono.ttf: " + reason + "\n");
    EXPECT_FALSE(reason.empty());
    EXPECT_EQ(lastFittedSizes(), std::vector<int>{16});
    EXPECT_EQ(cachedFont(16), nullptr);

    SDL_Surface* target = canvas(64, 32);
    testing::internal::CaptureStderr();
    drawText(0, 0, "Lives: 5", target, &white, 0, 0);
    capturedErr();
    EXPECT_EQ(inkedColumns(target).second, 0);
    SDL_FreeSurface(target);

    // The font showing up later is picked up: failures are not cached.
    dir.useShipped("fonts");
    surface = renderFittedText("Lives: 5", black, 640, 16);
    EXPECT_NE(surface, nullptr);
    SDL_FreeSurface(surface);
}

class DrawingText : public FittedText {
protected:
    void TearDown() override { SDL_FreeSurface(target); }
    SDL_Surface* target = canvas(640, 480);
};

TEST_F(DrawingText, ZeroWidthReachesToTheRightEdge) {
    const std::string text = "Press any key to continue";
    SDL_FreeSurface(renderFittedText(text, white, 520, 480));
    const std::vector<int> in520 = lastFittedSizes();
    SDL_FreeSurface(renderFittedText(text, white, 640, 480));
    ASSERT_NE(lastFittedSizes(), in520) << "text does not tell 520 from 640 pixels";

    drawText(120, 0, text, target, &white, 0, 0);
    EXPECT_EQ(lastFittedSizes(), in520);
    const auto columns = inkedColumns(target);
    EXPECT_GE(columns.first, 120);
    EXPECT_LT(columns.first, 130);
    EXPECT_LE(columns.second, 640);
    EXPECT_GT(columns.second, 520) << "text is drawn smaller than the room allows";
}

TEST_F(DrawingText, ZeroHeightReachesToTheBottomEdge) {
    SDL_FreeSurface(renderFittedText("A", white, 640, 20));
    const std::vector<int> in20 = lastFittedSizes();
    drawText(0, 460, "A", target, &white, 0, 0);
    EXPECT_EQ(lastFittedSizes(), in20);

    // Explicit maxima are used as given.
    SDL_FreeSurface(renderFittedText("A", white, 30, 40));
    const std::vector<int> in30by40 = lastFittedSizes();
    drawText(5, 5, "A", target, &white, 30, 40);
    EXPECT_EQ(lastFittedSizes(), in30by40);
}

TEST(TextHelpers, KeyNamesAreSdlsOwn) {
    EXPECT_EQ(keyName(SDLK_a), "a");
    EXPECT_EQ(keyName(SDLK_UP), "up");
    EXPECT_EQ(keyName(SDLK_SPACE), "space");
    EXPECT_EQ(keyName(SDLK_LSHIFT), "left shift");
}

TEST(TextHelpers, IntegersInDecimal) {
    EXPECT_EQ(intToString(0), "0");
    EXPECT_EQ(intToString(5), "5");
    EXPECT_EQ(intToString(-3), "-3");
    EXPECT_EQ(intToString(1234567), "1234567");
    EXPECT_EQ(intToString(INT_MIN), "-2147483648");
}

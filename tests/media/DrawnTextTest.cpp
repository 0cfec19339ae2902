// drawText keeps the lines it rendered so that a menu redrawing the same
// captions every frame does not render them again; what it draws must stay
// exactly what a fresh render draws.
#include "media/Images.h"
#include "media/Text.h"

#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <unistd.h>
#include <vector>

namespace {
const SDL_Color grey{128, 128, 128, 0};
const SDL_Color white{255, 255, 255, 0};
constexpr int canvasW = 240;
constexpr int canvasH = 40;
constexpr int boxW = 100;  // the controls menu's caption box
constexpr int boxH = 25;

class DrawnText : public testing::Test {
protected:
    void SetUp() override { dir.useShipped("fonts"); }

    static SDL_Surface* canvas() {
        const SDL_PixelFormat* screen = SDL_GetVideoSurface()->format;
        SDL_Surface* surface = SDL_CreateRGBSurface(SDL_SWSURFACE, canvasW, canvasH, 32,
                                                    screen->Rmask, screen->Gmask, screen->Bmask, 0);
        SDL_FillRect(surface, nullptr, SDL_MapRGB(surface->format, 0, 0, 0));
        return surface;
    }

    // The canvas drawText leaves.
    static SDL_Surface* drawn(const std::string& text, SDL_Color colour, int w, int h) {
        SDL_Surface* surface = canvas();
        drawText(4, 2, text, surface, &colour, w, h);
        return surface;
    }

    // The canvas a fresh fitted render blitted at the same place leaves.
    static SDL_Surface* rendered(const std::string& text, SDL_Color colour, int w, int h) {
        SDL_Surface* surface = canvas();
        SDL_Surface* line = renderFittedText(text, colour, w, h);
        drawSurface(4, 2, line, surface, nullptr, 255);
        SDL_FreeSurface(line);
        return surface;
    }

    // How many pixels differ; both canvases are freed.
    static int differences(SDL_Surface* a, SDL_Surface* b) {
        int count = 0;
        for (int y = 0; y < canvasH; ++y) {
            for (int x = 0; x < canvasW; ++x) {
                const SDL_Color p = pixelAt(a, x, y);
                const SDL_Color q = pixelAt(b, x, y);
                if (p.r != q.r || p.g != q.g || p.b != q.b) ++count;
            }
        }
        SDL_FreeSurface(a);
        SDL_FreeSurface(b);
        return count;
    }

    static int inked(SDL_Surface* surface) {
        int count = 0;
        for (int y = 0; y < canvasH; ++y) {
            for (int x = 0; x < canvasW; ++x) {
                const SDL_Color p = pixelAt(surface, x, y);
                if (p.r || p.g || p.b) ++count;
            }
        }
        SDL_FreeSurface(surface);
        return count;
    }

    ScratchDir dir;
};

TEST_F(DrawnText, ARedrawnCaptionMatchesAFreshRenderAndItsSearch) {
    SDL_Surface* first = drawn("Explode All", grey, boxW, boxH);
    const std::vector<int> firstSizes = lastFittedSizes();
    drawText(0, 0, "Lay Bomb", SDL_GetVideoSurface(), &white, 0, 0);  // another search between
    ASSERT_NE(lastFittedSizes(), firstSizes);

    SDL_Surface* again = drawn("Explode All", grey, boxW, boxH);
    EXPECT_EQ(lastFittedSizes(), firstSizes) << "a kept line reports the search that made it";
    EXPECT_EQ(differences(first, again), 0);
    EXPECT_EQ(differences(drawn("Explode All", grey, boxW, boxH),
                          rendered("Explode All", grey, boxW, boxH)),
              0);
}

TEST_F(DrawnText, ColourAndBoxTellLinesApart) {
    SDL_FreeSurface(drawn("Jump", grey, boxW, boxH));
    EXPECT_EQ(differences(drawn("Jump", white, boxW, boxH), rendered("Jump", white, boxW, boxH)),
              0)
        << "the white caption must not come back grey";
    EXPECT_EQ(differences(drawn("Jump", grey, boxW / 2, boxH / 2),
                          rendered("Jump", grey, boxW / 2, boxH / 2)),
              0)
        << "a smaller box must fit a smaller size";
    EXPECT_GT(inked(drawn("Jump", grey, boxW, boxH)), inked(drawn("Jump", grey, boxW / 2, boxH / 2)));
}

TEST_F(DrawnText, ManyLinesEachStayRight) {
    std::vector<std::string> texts;
    for (int i = 0; i < 40; ++i) texts.push_back("Line " + std::to_string(i));
    for (const std::string& text : texts) SDL_FreeSurface(drawn(text, white, boxW, boxH));
    for (const std::string& text : texts) {
        EXPECT_EQ(differences(drawn(text, white, boxW, boxH), rendered(text, white, boxW, boxH)),
                  0)
            << text;
    }
}

TEST_F(DrawnText, ClosingTheFontsForgetsTheLines) {
    EXPECT_GT(inked(drawn("Left", grey, boxW, boxH)), 0);
    ASSERT_EQ(unlink((dir.path() + "/data/fonts").c_str()), 0);
    closeFontCache();

    testing::internal::CaptureStderr();
    const int ink = inked(drawn("Left", grey, boxW, boxH));
    std::fflush(stderr);
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(ink, 0) << "without a font nothing may be drawn";
    EXPECT_NE(err.find("Could not open font"), std::string::npos);
}

TEST_F(DrawnText, AFailedDrawIsTriedAgain) {
    // Nothing fits a one-pixel box; a later draw in a real box still draws.
    EXPECT_EQ(inked(drawn("Right", grey, 1, 1)), 0);
    EXPECT_EQ(inked(drawn("Right", grey, 1, 1)), 0);
    EXPECT_GT(inked(drawn("Right", grey, boxW, boxH)), 0);
}
}  // namespace

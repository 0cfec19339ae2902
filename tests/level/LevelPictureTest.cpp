// The background and the tiles drawn by Level::draw are what plain
// colour-keyed blits of the level's own images give, pixel for pixel, also
// after the images change under the level (a new level, another Level, an
// edited pixel).
#include "level/Level.h"
#include "shell/Game.h"
#include "tests/level/LevelTestSupport.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {
constexpr int levelW = 60;
constexpr int levelH = 40;
constexpr int statusRows = 64;  // the status lines and icons at the top are left out

// Where a pixel of a pattern image is transparent: a scatter of holes.
bool hole(int x, int y, int seed) { return (x * 3 + y * 5 + seed) % 7 == 0; }

// A 24-bit BMP of w by h with a colour gradient that depends on seed and cyan holes.
void writePattern(const std::string& file, int w, int h, int seed) {
    SDL_Surface* image =
        SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 24, 0x00FF0000, 0x0000FF00, 0x000000FF, 0);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            SDL_Rect dot = {static_cast<Sint16>(x), static_cast<Sint16>(y), 1, 1};
            const Uint32 colour =
                hole(x, y, seed) ? SDL_MapRGB(image->format, 0, 255, 255)
                                 : SDL_MapRGB(image->format, static_cast<Uint8>(x * 7 + seed * 40),
                                              static_cast<Uint8>(y * 11 + seed * 90),
                                              static_cast<Uint8>(seed * 60 + 20));
            SDL_FillRect(image, &dot, colour);
        }
    }
    SDL_SaveBMP(image, file.c_str());
    SDL_FreeSurface(image);
}

bool isCyan(SDL_Color c) { return c.r == 0 && c.g == 255 && c.b == 255; }

// A level of zeros with a few tiles in view of the start cell.
std::string levelText(bool withTiles) {
    std::string text = std::to_string(levelW) + " " + std::to_string(levelH) + "\n";
    for (int x = 0; x < levelW; ++x) {
        for (int y = 0; y < levelH; ++y) {
            int v = 0;
            if (x == 30 && y == 20) v = 4;
            if (withTiles && y >= 14 && y <= 26 && x >= 22 && x <= 40 && (x + y) % 3 == 0) {
                v = (x + y) % 2 ? 1 : 17;
            }
            text += (y ? " " : "") + std::to_string(v);
        }
        text += "\n";
    }
    return text + "Picture\n";
}

class LevelPicture : public testing::Test {
protected:
    void SetUp() override { screen = SDL_GetVideoSurface(); }

    void open(int number, bool withTiles) {
        level.reset();
        level = quietLevel(number);
        dir.write("data/levels/picture.lvl", levelText(withTiles));
        bool loaded = false;
        capture([&] { loaded = level->load("data/levels/picture.lvl"); });
        ASSERT_TRUE(loaded);
    }

    void drawAt(int x, int y) {
        level->getPlayer().setPosition(x, y);
        fillScreen(screen, backgroundColour(level->getLevelNumber()));
        level->draw();
    }

    // The colour of one screen pixel under plain colour-keyed drawing of
    // the background and the tiles over the fill; false where neither the
    // background nor a tile decides it.
    SDL_Color expected(int sx, int sy) const {
        const SDL_Color fill = backgroundColour(level->getLevelNumber());
        SDL_Color colour = fill;
        if (background) {
            const int startX = -(camera.x / 6);
            const int startY = -(camera.y / 6);
            const SDL_Color b = pixelAt(background, (sx - startX) % background->w,
                                        (sy - startY) % background->h);
            if (!isCyan(b)) colour = b;
        }
        const int wx = sx + camera.x;
        const int wy = sy + camera.y;
        const int c = wx / 32;
        const int r = wy / 32;
        if (wx >= 0 && wy >= 0 && c < level->getWidth() && r < level->getHeight()) {
            SDL_Surface* tile = level->getTileImage(level->getGrid()[c][r]);
            if (tile) {
                const SDL_Color t = pixelAt(tile, wx % 32, wy % 32);
                if (!isCyan(t)) colour = t;
            }
        }
        return colour;
    }

    // Pixels that differ from plain drawing, leaving out the status area and the hero.
    int wrongPixels() const {
        const SDL_Rect hero = *level->getPlayer().getRect();
        int wrong = 0;
        for (int sy = statusRows; sy < screen->h; ++sy) {
            for (int sx = 0; sx < screen->w; ++sx) {
                const int wx = sx + camera.x;
                const int wy = sy + camera.y;
                if (wx >= hero.x && wx < hero.x + hero.w && wy >= hero.y && wy < hero.y + hero.h) {
                    continue;
                }
                const SDL_Color want = expected(sx, sy);
                const SDL_Color seen = pixelAt(screen, sx, sy);
                if (want.r != seen.r || want.g != seen.g || want.b != seen.b) ++wrong;
            }
        }
        return wrong;
    }

    static void paint(SDL_Surface* image, int x, int y, Uint8 r, Uint8 g, Uint8 b) {
        SDL_Rect dot = {static_cast<Sint16>(x), static_cast<Sint16>(y), 1, 1};
        SDL_FillRect(image, &dot, SDL_MapRGB(image->format, r, g, b));
    }

    ScratchDir dir;
    SDL_Surface* screen = nullptr;
    std::unique_ptr<Level> level;
};

TEST_F(LevelPicture, TheBackgroundShowsThroughItsHolesWhereverTheCameraStands) {
    writePattern(dir.path() + "/data/images/bg01.bmp", 96, 80, 1);
    open(1, false);
    ASSERT_NE(background, nullptr);
    for (const auto& spot : {std::pair<int, int>{960, 640}, {1100, 700}, {1500, 1000}}) {
        drawAt(spot.first, spot.second);
        ASSERT_GT(camera.x % 6 + camera.y % 6 + camera.x, 0) << "the parallax must be exercised";
        EXPECT_EQ(wrongPixels(), 0) << "hero at " << spot.first << ", " << spot.second;
    }
}

TEST_F(LevelPicture, ANewBackgroundOfTheSameSizeShowsAtOnce) {
    writePattern(dir.path() + "/data/images/bg01.bmp", 96, 80, 1);
    writePattern(dir.path() + "/data/images/bg02.bmp", 96, 80, 2);
    open(1, false);
    drawAt(960, 640);
    ASSERT_EQ(wrongPixels(), 0);
    open(2, false);
    drawAt(960, 640);
    EXPECT_EQ(wrongPixels(), 0);
    open(1, false);
    drawAt(960, 640);
    EXPECT_EQ(wrongPixels(), 0);
}

TEST_F(LevelPicture, AnEditedBackgroundPixelShowsInTheNextFrame) {
    writePattern(dir.path() + "/data/images/bg01.bmp", 96, 80, 1);
    open(1, false);
    drawAt(960, 640);
    ASSERT_EQ(wrongPixels(), 0);
    // A hole filled in and an opaque pixel punched out, far from the status area.
    paint(background, 40, 40, 250, 10, 10);
    paint(background, 41, 40, 0, 255, 255);
    drawAt(960, 640);
    EXPECT_EQ(wrongPixels(), 0);
}

TEST_F(LevelPicture, TilesShowTheirHolesAndFollowNewImages) {
    writePattern(dir.path() + "/data/images/32/wall.bmp", 32, 32, 3);
    writePattern(dir.path() + "/data/images/32/cwall.bmp", 32, 32, 4);
    open(0, true);
    drawAt(960, 640);
    EXPECT_EQ(wrongPixels(), 0);

    // Another Level with other images under the same names.
    writePattern(dir.path() + "/data/images/32/wall.bmp", 32, 32, 5);
    writePattern(dir.path() + "/data/images/32/cwall.bmp", 32, 32, 6);
    open(0, true);
    drawAt(960, 640);
    EXPECT_EQ(wrongPixels(), 0);

    paint(level->getTileImage(1), 5, 5, 0, 255, 255);
    paint(level->getTileImage(17), 6, 6, 200, 200, 0);
    drawAt(960, 640);
    EXPECT_EQ(wrongPixels(), 0);
}
}  // namespace

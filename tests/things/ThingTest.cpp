#include "things/Thing.h"

#include "menus/Settings.h"
#include "things/Hint.h"
#include "things/Milk.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

namespace {

// A black 640x480 surface in the screen's 32-bit layout, freed on scope exit.
struct Canvas {
    SDL_Surface* surface;
    Canvas()
        : surface(SDL_CreateRGBSurface(SDL_SWSURFACE, 640, 480, 32, 0x00FF0000, 0x0000FF00,
                                       0x000000FF, 0)) {
        SDL_FillRect(surface, nullptr, SDL_MapRGB(surface->format, 0, 0, 0));
    }
    ~Canvas() { SDL_FreeSurface(surface); }
    bool isBlack(int x, int y) const {
        const SDL_Color c = pixelAt(surface, x, y);
        return c.r == 0 && c.g == 0 && c.b == 0;
    }
};

void expectColour(SDL_Surface* surface, int x, int y, Uint8 r, Uint8 g, Uint8 b) {
    const SDL_Color c = pixelAt(surface, x, y);
    EXPECT_EQ(r, c.r) << "at " << x << "," << y;
    EXPECT_EQ(g, c.g) << "at " << x << "," << y;
    EXPECT_EQ(b, c.b) << "at " << x << "," << y;
}

}  // namespace

TEST(ThingPlacement, CellBecomesLevelPixelsAtBothTileSizes) {
    ScratchDir dir;
    Thing large(3, 5);
    EXPECT_EQ(96, large.getRect()->x);
    EXPECT_EQ(160, large.getRect()->y);
    EXPECT_EQ(32, large.getRect()->w);
    EXPECT_EQ(32, large.getRect()->h);

    tileSize = 16;
    Thing small(3, 5);
    EXPECT_EQ(48, small.getRect()->x);
    EXPECT_EQ(80, small.getRect()->y);
    EXPECT_EQ(16, small.getRect()->w);
    EXPECT_EQ(16, small.getRect()->h);
    EXPECT_FALSE(small.isDead());
}

TEST(ThingPlacement, FarCellWrapsToNegativeSixteenBitPosition) {
    ScratchDir dir;
    // 1100 * 32 = 35200 and 2000 * 32 = 64000 do not fit a signed 16-bit value.
    Thing far(1100, 2000);
    EXPECT_EQ(35200 - 65536, far.getRect()->x);
    EXPECT_EQ(64000 - 65536, far.getRect()->y);
    // The last cell that still fits stays positive.
    Thing edge(1023, 0);
    EXPECT_EQ(32736, edge.getRect()->x);
}



TEST(ThingSize, FittedKindTakesImageSizeOneTileKindDoesNot) {
    ScratchDir dir;
    dir.writeImage(32, "milk", 20, 24);
    dir.writeImage(32, "hint", 20, 24);
    Milk milk(0, 0);
    EXPECT_EQ(20, milk.getRect()->w);
    EXPECT_EQ(24, milk.getRect()->h);
    Hint hint(0, 0);
    EXPECT_EQ(32, hint.getRect()->w);
    EXPECT_EQ(32, hint.getRect()->h);
}


TEST(ThingSize, ImageComesFromTheCurrentTileSizeFolder) {
    ScratchDir dir;
    dir.writeImage(32, "milk", 20, 24);
    dir.writeImage(16, "milk", 10, 12);
    tileSize = 16;
    Milk milk(0, 0);
    EXPECT_EQ(10, milk.getRect()->w);
    EXPECT_EQ(12, milk.getRect()->h);
}

TEST(ThingDraw, DrawsImageThroughTheCamera) {
    ScratchDir dir;
    dir.writeImage(32, "milk", 32, 32, 200, 100, 50);
    Milk milk(0, 0);
    milk.getRect()->x = 130;
    milk.getRect()->y = 50;
    Canvas canvas;
    const SDL_Rect view = {100, 40, 640, 480};
    milk.draw(canvas.surface, &view);
    expectColour(canvas.surface, 30, 10, 200, 100, 50);
    expectColour(canvas.surface, 61, 41, 200, 100, 50);
    EXPECT_TRUE(canvas.isBlack(29, 10));
    EXPECT_TRUE(canvas.isBlack(30, 9));
    EXPECT_TRUE(canvas.isBlack(62, 41));
    EXPECT_TRUE(canvas.isBlack(61, 42));
}

TEST(ThingDraw, ThingWithoutImageDrawsNothing) {
    ScratchDir dir;
    Milk milk(1, 1);
    Canvas canvas;
    const SDL_Rect view = {0, 0, 640, 480};
    milk.draw(canvas.surface, &view);
    for (int y = 0; y < 96; y += 3)
        for (int x = 0; x < 96; x += 3) ASSERT_TRUE(canvas.isBlack(x, y)) << x << "," << y;
}


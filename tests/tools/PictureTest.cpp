#include "tools/common/Picture.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

namespace {

// Red, green and blue in whatever byte order the surface's masks give.
SDL_Surface* threeByTwo(Uint32 rMask, Uint32 gMask, Uint32 bMask) {
    SDL_Surface* s = SDL_CreateRGBSurface(SDL_SWSURFACE, 3, 2, 32, rMask, gMask, bMask, 0);
    const Uint8 colours[6][3] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255},
                                 {1, 2, 3},   {250, 128, 7}, {0, 0, 0}};
    for (int i = 0; i < 6; ++i) {
        SDL_Rect cell = {static_cast<Sint16>(i % 3), static_cast<Sint16>(i / 3), 1, 1};
        SDL_FillRect(s, &cell, SDL_MapRGB(s->format, colours[i][0], colours[i][1], colours[i][2]));
    }
    return s;
}

const std::string expected = std::string("P6\n3 2\n255\n") +
                             std::string("\xff\x00\x00\x00\xff\x00\x00\x00\xff", 9) +
                             std::string("\x01\x02\x03\xfa\x80\x07\x00\x00\x00", 9);

TEST(Picture, RowsOfRedGreenBlueWhateverTheSurfacesByteOrder) {
    for (const bool bgr : {false, true}) {
        SDL_Surface* s = bgr ? threeByTwo(0xff, 0xff00, 0xff0000)
                             : threeByTwo(0xff0000, 0xff00, 0xff);
        EXPECT_EQ(expected, encodePicture(s)) << (bgr ? "blue in the high byte" : "red high");
        SDL_FreeSurface(s);
    }
}

TEST(Picture, OnlyThirtyTwoBitPicturesAreWritten) {
    ScratchDir scratch;
    SDL_Surface* narrow = SDL_CreateRGBSurface(SDL_SWSURFACE, 4, 4, 16, 0xf800, 0x7e0, 0x1f, 0);
    EXPECT_TRUE(encodePicture(narrow).empty());
    EXPECT_FALSE(writePicture(narrow, "narrow.ppm"));
    EXPECT_FALSE(scratch.exists("narrow.ppm"));
    SDL_FreeSurface(narrow);

    SDL_Surface* s = threeByTwo(0xff0000, 0xff00, 0xff);
    ASSERT_TRUE(writePicture(s, "picture.ppm"));
    EXPECT_EQ(expected, scratch.read("picture.ppm"));
    SDL_FreeSurface(s);
}

}  // namespace

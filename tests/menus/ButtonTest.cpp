#include "menus/Button.h"

#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

namespace {

const SDL_Color white = {255, 255, 255, 0};

Uint32 videoColour(Uint8 r, Uint8 g, Uint8 b) {
    return SDL_MapRGB(SDL_GetVideoInfo()->vfmt, r, g, b);
}

SDL_Event mouseEvent(Uint8 type, int x, int y, Uint8 button = SDL_BUTTON_LEFT) {
    SDL_Event event;
    event.type = type;
    if (type == SDL_MOUSEMOTION) {
        event.motion.type = type;
        event.motion.x = static_cast<Uint16>(x);
        event.motion.y = static_cast<Uint16>(y);
    } else {
        event.button.type = type;
        event.button.button = button;
        event.button.x = static_cast<Uint16>(x);
        event.button.y = static_cast<Uint16>(y);
    }
    return event;
}

class ButtonTest : public ::testing::Test {
protected:
    void SetUp() override {
        font = TTF_OpenFont((sourceDir() + "/data/fonts/VeraMono.ttf").c_str(), 20);
        ASSERT_NE(font, nullptr);
    }
    void TearDown() override {
        if (font) TTF_CloseFont(font);
    }

    // Where the caption, centred, has no ink the button must show its
    // background; where the ink is solid, the caption colour. Returns how
    // many solid caption pixels landed on the button.
    int expectCaptionCentred(const Button& button, const std::string& caption, SDL_Color bg) {
        SDL_Surface* text = TTF_RenderText_Blended(font, caption.c_str(), white);
        SDL_Surface* face = button.getSurface();
        if (!text || !face) {
            ADD_FAILURE() << "nothing rendered";
            if (text) SDL_FreeSurface(text);
            return 0;
        }
        const int offX = (face->w - text->w) / 2;
        const int offY = (face->h - text->h) / 2;
        int solid = 0;
        for (int y = 0; y < face->h; ++y) {
            for (int x = 0; x < face->w; ++x) {
                const int tx = x - offX;
                const int ty = y - offY;
                Uint8 alpha = 0;
                if (tx >= 0 && ty >= 0 && tx < text->w && ty < text->h) {
                    Uint8 r, g, b;
                    SDL_GetRGBA(static_cast<Uint32*>(text->pixels)[ty * text->pitch / 4 + tx],
                                text->format, &r, &g, &b, &alpha);
                }
                const SDL_Color seen = pixelAt(face, x, y);
                if (alpha == 0) {
                    EXPECT_TRUE(seen.r == bg.r && seen.g == bg.g && seen.b == bg.b)
                        << "stray ink at " << x << "," << y;
                } else if (alpha >= 224) {
                    ++solid;
                    EXPECT_GE(seen.r, 200) << "missing ink at " << x << "," << y;
                }
            }
        }
        SDL_FreeSurface(text);
        return solid;
    }

    TTF_Font* font = nullptr;
};

TEST_F(ButtonTest, HitTestCoversLeftAndTopEdgesButNotRightAndBottom) {
    const Button button(20, 15, 100, 25, videoColour(255, 0, 0), white, font, "On");
    EXPECT_TRUE(button.isClicked(mouseEvent(SDL_MOUSEBUTTONDOWN, 20, 15)));
    EXPECT_TRUE(button.isClicked(mouseEvent(SDL_MOUSEBUTTONDOWN, 119, 39)));
    EXPECT_FALSE(button.isClicked(mouseEvent(SDL_MOUSEBUTTONDOWN, 120, 20)));
    EXPECT_FALSE(button.isClicked(mouseEvent(SDL_MOUSEBUTTONDOWN, 50, 40)));
    EXPECT_FALSE(button.isClicked(mouseEvent(SDL_MOUSEBUTTONDOWN, 19, 20)));
    EXPECT_FALSE(button.isClicked(mouseEvent(SDL_MOUSEBUTTONDOWN, 50, 14)));
}

TEST_F(ButtonTest, OnlyPressesOfAnyMouseButtonCount) {
    const Button button(20, 15, 100, 25, videoColour(255, 0, 0), white, font, "On");
    EXPECT_FALSE(button.isClicked(mouseEvent(SDL_MOUSEMOTION, 50, 20)));
    EXPECT_FALSE(button.isClicked(mouseEvent(SDL_MOUSEBUTTONUP, 50, 20)));
    for (Uint8 which : {SDL_BUTTON_LEFT, SDL_BUTTON_RIGHT, SDL_BUTTON_WHEELUP,
                        SDL_BUTTON_WHEELDOWN}) {
        EXPECT_TRUE(button.isClicked(mouseEvent(SDL_MOUSEBUTTONDOWN, 50, 20, which)))
            << "button " << int(which);
    }
}

TEST_F(ButtonTest, ShortCaptionIsCentredOnTheBackground) {
    const Button button(0, 0, 100, 25, videoColour(0, 0, 255), white, font, "On");
    ASSERT_NE(button.getSurface(), nullptr);
    EXPECT_EQ(button.getSurface()->w, 100);
    EXPECT_EQ(button.getSurface()->h, 25);
    EXPECT_GT(expectCaptionCentred(button, "On", SDL_Color{0, 0, 255, 0}), 10);
}

TEST_F(ButtonTest, WideCaptionIsCentredAndCutOnBothSides) {
    int width = 0;
    ASSERT_EQ(TTF_SizeText(font, "right shift", &width, nullptr), 0);
    ASSERT_GT(width, 100 + 2 * 12) << "the caption must overhang by more than a letter a side";
    Button button(0, 0, 100, 25, videoColour(0, 0, 255), white, font, "Temp");
    button.setText("right shift");
    EXPECT_EQ(button.getText(), "right shift");
    EXPECT_GT(expectCaptionCentred(button, "right shift", SDL_Color{0, 0, 255, 0}), 20);
}

TEST_F(ButtonTest, WithoutAFontTheButtonIsStillFilled) {
    Button button(5, 5, 30, 10, videoColour(0, 255, 0), white, nullptr, "On");
    ASSERT_NE(button.getSurface(), nullptr);
    EXPECT_EQ(pixelAt(button.getSurface(), 0, 0).g, 255);
    EXPECT_EQ(pixelAt(button.getSurface(), 29, 9).g, 255);
    button.setBackground(videoColour(255, 0, 0));
    EXPECT_EQ(pixelAt(button.getSurface(), 15, 5).r, 255);
    EXPECT_EQ(pixelAt(button.getSurface(), 15, 5).g, 0);
}

TEST_F(ButtonTest, DrawCopiesTheFaceToItsPlaceOnly) {
    SDL_Surface* screen = SDL_GetVideoSurface();
    SDL_FillRect(screen, nullptr, 0);
    Button button(20, 55, 100, 25, videoColour(0, 255, 0), white, font, "");
    button.draw(screen);
    EXPECT_EQ(pixelAt(screen, 20, 55).g, 255);
    EXPECT_EQ(pixelAt(screen, 119, 79).g, 255);
    EXPECT_EQ(pixelAt(screen, 19, 55).g, 0);
    EXPECT_EQ(pixelAt(screen, 120, 60).g, 0);
    EXPECT_EQ(pixelAt(screen, 50, 80).g, 0);

    // Half off the screen: the blit clips, the button keeps its size.
    Button edge(600, 0, 100, 25, videoColour(0, 255, 0), white, font, "");
    edge.draw(screen);
    EXPECT_EQ(pixelAt(screen, 639, 0).g, 255);
    EXPECT_EQ(edge.getRect().w, 100);
}

}  // namespace

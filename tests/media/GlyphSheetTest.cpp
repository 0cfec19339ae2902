#include "media/Text.h"
#include "web/GlyphSheetMaker.h"

#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace {
// Texts like the game's: captions, counts, key names, a sign's line, punctuation.
const char* const samples[] = {
    "Curdovar II", "Level 12: WTLRQPDMNSBKGHVXZCFJ", "Lives 3  Bombs 10", "[4]",
    "Press space to go on.", "jumpy {braces} |pipes| ~tilde~ _under_", "0123456789", "W", " ",
};

// The alpha of every pixel SDL_ttf draws for text, row by row.
std::vector<std::uint8_t> nativePlane(TTF_Font* font, const std::string& text, int* w, int* h) {
    const SDL_Color white{255, 255, 255, 0};
    SDL_Surface* s = TTF_RenderText_Blended(font, text.c_str(), white);
    std::vector<std::uint8_t> plane;
    if (!s) return plane;
    SDL_LockSurface(s);
    for (int y = 0; y < s->h; ++y)
        for (int x = 0; x < s->w; ++x) {
            const Uint32 p = static_cast<const Uint32*>(s->pixels)[y * (s->pitch / 4) + x];
            plane.push_back(static_cast<std::uint8_t>((p & s->format->Amask) >> s->format->Ashift));
        }
    SDL_UnlockSurface(s);
    *w = s->w;
    *h = s->h;
    SDL_FreeSurface(s);
    return plane;
}
}  // namespace

// The browser build measures and draws text from the sheet alone: at the
// sizes the fitting search picks, small to large, both must equal SDL_ttf's.
TEST(GlyphSheet, MeasuresAndDrawsAsSdlTtf) {
    ASSERT_EQ(TTF_WasInit() ? 0 : TTF_Init(), 0);
    for (int points : {1, 5, 12, 16, 24, 31, 48, 64, 100, 128}) {
        TTF_Font* font = TTF_OpenFont(fontPath, points);
        ASSERT_NE(font, nullptr) << SDL_GetError();
        SheetSize size;
        ASSERT_TRUE(makeSheetSize(font, size));
        for (const char* text : samples) {
            SCOPED_TRACE(std::string(text) + " at " + std::to_string(points));
            int nativeW = 0, nativeH = 0;
            ASSERT_EQ(TTF_SizeText(font, text, &nativeW, &nativeH), 0);
            int sheetW = -1, sheetH = -1;
            measureSheetText(size, text, &sheetW, &sheetH);
            EXPECT_EQ(sheetW, nativeW);
            EXPECT_EQ(sheetH, nativeH);
            int drawnW = 0, drawnH = 0;
            const std::vector<std::uint8_t> native = nativePlane(font, text, &drawnW, &drawnH);
            int w = 0, h = 0;
            const std::vector<std::uint8_t> sheet = renderSheetText(size, text, &w, &h);
            EXPECT_EQ(w, drawnW);
            EXPECT_EQ(h, drawnH);
            EXPECT_TRUE(sheet == native);
        }
        TTF_CloseFont(font);
    }
}

// What the sheet file holds comes back whole.
TEST(GlyphSheet, SurvivesItsFile) {
    ASSERT_EQ(TTF_WasInit() ? 0 : TTF_Init(), 0);
    TTF_Font* font = TTF_OpenFont(fontPath, 20);
    ASSERT_NE(font, nullptr);
    GlyphSheet sheet;
    sheet.firstSize = 20;
    sheet.sizes.resize(1);
    ASSERT_TRUE(makeSheetSize(font, sheet.sizes[0]));
    TTF_CloseFont(font);
    GlyphSheet back;
    ASSERT_TRUE(back.parse(sheet.serialise()));
    ASSERT_NE(back.size(20), nullptr);
    EXPECT_EQ(back.size(19), nullptr);
    int w1 = 0, h1 = 0, w2 = 0, h2 = 0;
    EXPECT_EQ(renderSheetText(*back.size(20), "Sheet 42", &w1, &h1),
              renderSheetText(sheet.sizes[0], "Sheet 42", &w2, &h2));
    EXPECT_GT(w1, 0);
    EXPECT_FALSE(back.parse(sheet.serialise().substr(0, 100)));
}

// At the largest size runs of empty and full pixels outgrow one control byte
// of the file's run-length coding; the coverage still comes back exactly, in
// well under half the bytes it holds.
TEST(GlyphSheet, RunLengthCodingKeepsLargeGlyphs) {
    ASSERT_EQ(TTF_WasInit() ? 0 : TTF_Init(), 0);
    TTF_Font* font = TTF_OpenFont(fontPath, 128);
    ASSERT_NE(font, nullptr);
    GlyphSheet sheet;
    sheet.firstSize = 128;
    sheet.sizes.resize(1);
    ASSERT_TRUE(makeSheetSize(font, sheet.sizes[0]));
    TTF_CloseFont(font);
    std::size_t raw = 0;
    for (const SheetGlyph& g : sheet.sizes[0].glyphs) raw += g.coverage.size();
    const std::string bytes = sheet.serialise();
    EXPECT_LT(bytes.size(), raw / 2);
    GlyphSheet back;
    ASSERT_TRUE(back.parse(bytes));
    ASSERT_NE(back.size(128), nullptr);
    const std::vector<SheetGlyph>& glyphs = back.size(128)->glyphs;
    ASSERT_EQ(glyphs.size(), sheet.sizes[0].glyphs.size());
    for (std::size_t i = 0; i < glyphs.size(); ++i) {
        SCOPED_TRACE("glyph " + std::to_string(i + GlyphSheet::firstGlyph));
        EXPECT_EQ(glyphs[i].w, sheet.sizes[0].glyphs[i].w);
        EXPECT_TRUE(glyphs[i].coverage == sheet.sizes[0].glyphs[i].coverage);
    }
    EXPECT_FALSE(back.parse(bytes.substr(0, bytes.size() - 1)));
}

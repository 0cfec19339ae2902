#pragma once

// The game's font as the native SDL_ttf renders it, one bitmap per glyph and
// point size, made at build time (curdovar-glyphsheet) so that the browser
// build lays out and draws text to the same pixels as the native one.

#include <cstdint>
#include <string>
#include <vector>

struct SheetGlyph {
    int minx = 0, maxx = 0, advance = 0;  // SDL_ttf's glyph metrics
    int dx = 0, dy = 0;                   // bitmap corner from the pen and the line's top
    int w = 0, h = 0;
    std::vector<std::uint8_t> coverage;   // w * h alpha values, row by row
};

struct SheetSize {
    int height = 0;  // TTF_FontHeight
    std::vector<SheetGlyph> glyphs;  // firstGlyph .. lastGlyph
};

struct GlyphSheet {
    static constexpr int firstGlyph = 32;
    static constexpr int lastGlyph = 126;
    int firstSize = 1;
    std::vector<SheetSize> sizes;

    const SheetSize* size(int points) const;
    std::string serialise() const;
    bool parse(const std::string& bytes);
};

// TTF_SizeText's answer for Latin-1 text at one size; characters outside the
// sheet count as a blank of the space's metrics.
void measureSheetText(const SheetSize& size, const std::string& text, int* w, int* h);

// The alpha plane TTF_RenderText_Blended fills: w * h values, row by row.
std::vector<std::uint8_t> renderSheetText(const SheetSize& size, const std::string& text, int* w,
                                          int* h);

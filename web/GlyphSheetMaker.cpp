#include "web/GlyphSheetMaker.h"

#include <algorithm>

namespace {
// The glyph alone as TTF_RenderText_Blended draws it, cut to its ink.
bool sheetGlyph(TTF_Font* font, int c, SheetGlyph& g) {
    if (TTF_GlyphMetrics(font, static_cast<Uint16>(c), &g.minx, &g.maxx, nullptr, nullptr,
                         &g.advance) < 0)
        return false;
    const char text[2] = {static_cast<char>(c), 0};
    const SDL_Color white = {255, 255, 255, 0};
    SDL_Surface* s = TTF_RenderText_Blended(font, text, white);
    if (!s) return true;  // a blank glyph draws nothing
    SDL_LockSurface(s);
    int left = s->w, right = -1, top = s->h, bottom = -1;
    auto alphaAt = [s](int x, int y) {
        const Uint32 p = static_cast<const Uint32*>(s->pixels)[y * (s->pitch / 4) + x];
        return static_cast<std::uint8_t>((p & s->format->Amask) >> s->format->Ashift);
    };
    for (int y = 0; y < s->h; ++y)
        for (int x = 0; x < s->w; ++x)
            if (alphaAt(x, y)) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    if (right >= 0) {
        const int penStart = g.minx < 0 ? -g.minx : 0;
        g.dx = left - penStart;
        g.dy = top;
        g.w = right - left + 1;
        g.h = bottom - top + 1;
        for (int y = top; y <= bottom; ++y)
            for (int x = left; x <= right; ++x) g.coverage.push_back(alphaAt(x, y));
    }
    SDL_UnlockSurface(s);
    SDL_FreeSurface(s);
    return true;
}
}  // namespace

bool makeSheetSize(TTF_Font* font, SheetSize& size) {
    size.height = TTF_FontHeight(font);
    size.glyphs.clear();
    for (int c = GlyphSheet::firstGlyph; c <= GlyphSheet::lastGlyph; ++c) {
        SheetGlyph g;
        if (!sheetGlyph(font, c, g)) return false;
        size.glyphs.push_back(std::move(g));
    }
    return true;
}

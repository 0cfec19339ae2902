#include "tools/edit/Overview.h"

#include "level/Tiles.h"
#include "menus/Settings.h"
#include "tools/edit/Layout.h"
#include "tools/edit/Palette.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr double largestScale = 4;   // window pixels a cell on a small level
constexpr int margin = 4;            // around the level's picture in the strip
constexpr Uint32 stripColour = 0x181C20;
constexpr Uint32 viewColour = 0xFFE000;
constexpr Uint32 edgeColour = 0x485058;     // the line between the map and the strip

// The average colour of a surface, alpha left out.
SDL_Color averageColour(SDL_Surface* surface) {
    unsigned long r = 0, g = 0, b = 0;
    SDL_LockSurface(surface);
    const unsigned long count = static_cast<unsigned long>(surface->w) * surface->h;
    for (int y = 0; y < surface->h; ++y) {
        for (int x = 0; x < surface->w; ++x) {
            const Uint8* at = static_cast<const Uint8*>(surface->pixels) + y * surface->pitch +
                              x * surface->format->BytesPerPixel;
            Uint32 pixel = 0;
            std::memcpy(&pixel, at, surface->format->BytesPerPixel);
            Uint8 pr, pg, pb;
            SDL_GetRGB(pixel, surface->format, &pr, &pg, &pb);
            r += pr;
            g += pg;
            b += pb;
        }
    }
    SDL_UnlockSurface(surface);
    SDL_Color c = {0, 0, 0, 0};
    if (count == 0) return c;
    c.r = static_cast<Uint8>(r / count);
    c.g = static_cast<Uint8>(g / count);
    c.b = static_cast<Uint8>(b / count);
    return c;
}

}  // namespace

Overview::~Overview() {
    if (picture) SDL_FreeSurface(picture);
}

void Overview::loadColours(SDL_Surface* screen, const Palette& palette, SDL_Color sky,
                           SDL_Surface* backdrop) {
    // Empty cells take the colour the map shows behind the tiles.
    const SDL_Color ground = backdrop && backdrop->w > 0 ? averageColour(backdrop) : sky;
    const SDL_PixelFormat* f = screen->format;
    SDL_Surface* cell = SDL_CreateRGBSurface(SDL_SWSURFACE, tileSize, tileSize, 32, f->Rmask,
                                             f->Gmask, f->Bmask, 0);
    // A value without a tile or kind stands out in magenta.
    strange = SDL_MapRGB(screen->format, 0xFF, 0, 0xFF);
    colours.assign(static_cast<size_t>(lastKind) + 1, strange);
    for (int i = 0; cell && i < palette.size(); ++i) {
        const int value = palette.entry(i).value;
        if (value < 0 || value > lastKind) continue;
        SDL_FillRect(cell, nullptr, SDL_MapRGB(cell->format, ground.r, ground.g, ground.b));
        if (value != TileEmpty) palette.drawCell(cell, value, 0, 0);
        const SDL_Color c = averageColour(cell);
        colours[static_cast<size_t>(value)] = SDL_MapRGB(screen->format, c.r, c.g, c.b);
    }
    if (cell) SDL_FreeSurface(cell);
    pictured = LevelDraft();  // paint again in the new colours
}

void Overview::render(SDL_Surface* screen, const LevelDraft& level) {
    const int w = std::max(1, level.getWidth());
    const int h = std::max(1, level.getHeight());
    scale = std::min({largestScale, static_cast<double>(mapWidth - 2 * margin) / w,
                      static_cast<double>(overviewHeight - 2 * margin) / h});
    const int pw = std::max(1, static_cast<int>(w * scale));
    const int ph = std::max(1, static_cast<int>(h * scale));
    left = margin;
    top = mapHeight + (overviewHeight - ph) / 2;
    if (picture) SDL_FreeSurface(picture);
    const SDL_PixelFormat* f = screen->format;
    picture = SDL_CreateRGBSurface(SDL_SWSURFACE, pw, ph, 32, f->Rmask, f->Gmask, f->Bmask, 0);
    pictured = level;
    if (!picture) return;
    // Cell by cell, each from its own first pixel to the next cell's.
    for (int x = 0; x < level.getWidth(); ++x) {
        const int x0 = static_cast<int>(x * scale);
        const int x1 = std::max(x0 + 1, static_cast<int>((x + 1) * scale));
        for (int y = 0; y < level.getHeight(); ++y) {
            const int y0 = static_cast<int>(y * scale);
            const int y1 = std::max(y0 + 1, static_cast<int>((y + 1) * scale));
            const int value = level.at(x, y).value;
            const bool known = value >= 0 && value < static_cast<int>(colours.size());
            SDL_Rect r = {static_cast<Sint16>(x0), static_cast<Sint16>(y0),
                          static_cast<Uint16>(x1 - x0), static_cast<Uint16>(y1 - y0)};
            SDL_FillRect(picture, &r, known ? colours[static_cast<size_t>(value)] : strange);
        }
    }
}

void Overview::draw(SDL_Surface* screen, const LevelDraft& level, int viewX, int viewY,
                    int tileEdge) {
    SDL_Rect strip = {0, static_cast<Sint16>(mapHeight), mapWidth, overviewHeight};
    SDL_SetClipRect(screen, &strip);
    SDL_FillRect(screen, &strip, stripColour);
    SDL_Rect edge = {0, static_cast<Sint16>(mapHeight), mapWidth, 1};
    SDL_FillRect(screen, &edge, edgeColour);
    if (!picture || level != pictured) render(screen, level);
    if (picture && level.getWidth() > 0) drawPicture(screen, viewX, viewY, tileEdge);
    SDL_SetClipRect(screen, nullptr);
}

void Overview::drawPicture(SDL_Surface* screen, int viewX, int viewY, int tileEdge) const {
    SDL_Rect at = {static_cast<Sint16>(left), static_cast<Sint16>(top), 0, 0};
    SDL_BlitSurface(picture, nullptr, screen, &at);
    // The view's frame, one pixel wide, over the cells the map shows.
    const double cells = scale / tileEdge;
    // Kept inside the strip, so a view past the grid's edge still shows all four sides.
    int x = left + static_cast<int>(viewX * cells);
    int y = top + static_cast<int>(viewY * cells);
    int x1 = x + std::max(3, static_cast<int>(mapWidth * cells));
    int y1 = y + std::max(3, static_cast<int>(mapHeight * cells));
    x = std::max(x, 0);
    y = std::max(y, mapHeight + 1);
    x1 = std::min(x1, mapWidth);
    y1 = std::min(y1, mapHeight + overviewHeight);
    if (x1 - x < 3 || y1 - y < 3) return;
    const int w = x1 - x;
    const int h = y1 - y;
    SDL_Rect sides[4] = {
        {static_cast<Sint16>(x), static_cast<Sint16>(y), static_cast<Uint16>(w), 1},
        {static_cast<Sint16>(x), static_cast<Sint16>(y + h - 1), static_cast<Uint16>(w), 1},
        {static_cast<Sint16>(x), static_cast<Sint16>(y), 1, static_cast<Uint16>(h)},
        {static_cast<Sint16>(x + w - 1), static_cast<Sint16>(y), 1, static_cast<Uint16>(h)}};
    for (SDL_Rect& side : sides) SDL_FillRect(screen, &side, viewColour);
}

bool Overview::contains(int x, int y) const {
    return picture && x >= left && y >= top && x < left + picture->w && y < top + picture->h;
}

void Overview::cellAt(int x, int y, int& column, int& row) const {
    column = std::max(0, std::min(pictured.getWidth() - 1, static_cast<int>((x - left) / scale)));
    row = std::max(0, std::min(pictured.getHeight() - 1, static_cast<int>((y - top) / scale)));
}

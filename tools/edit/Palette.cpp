#include "tools/edit/Palette.h"

#include "level/Tiles.h"
#include "media/Images.h"
#include "menus/Settings.h"
#include "tools/edit/Layout.h"

#include <algorithm>

namespace {

constexpr Uint32 stopperColour = 0xD03030;  // a red frame: an invisible fence for enemies
constexpr Uint32 emptyColour = 0x606060;    // a grey dash: the eraser
constexpr int heroStandingColumn = 4;       // the hero sheet's column of the Normal form standing

void frame(SDL_Surface* screen, int x, int y, int edge, Uint32 colour) {
    SDL_Rect sides[4] = {{static_cast<Sint16>(x), static_cast<Sint16>(y),
                          static_cast<Uint16>(edge), 2},
                         {static_cast<Sint16>(x), static_cast<Sint16>(y + edge - 2),
                          static_cast<Uint16>(edge), 2},
                         {static_cast<Sint16>(x), static_cast<Sint16>(y), 2,
                          static_cast<Uint16>(edge)},
                         {static_cast<Sint16>(x + edge - 2), static_cast<Sint16>(y), 2,
                          static_cast<Uint16>(edge)}};
    for (SDL_Rect& side : sides) SDL_FillRect(screen, &side, colour);
}

}  // namespace

Palette::Palette() {
    for (const TileInfo& tile : tileTable) entries.push_back({tile.value, tile.name, nullptr});
    for (const KindInfo& kind : kindTable) entries.push_back({kind.kind, kind.name, nullptr});
    // The eraser and the start first: a designer reaches for them most.
    std::stable_partition(entries.begin(), entries.end(), [](const PaletteEntry& e) {
        return e.value == TileEmpty || e.value == TileStart || e.value == TileGoal;
    });
}

Palette::~Palette() { freePictures(); }

void Palette::freePictures() {
    for (PaletteEntry& e : entries) {
        if (e.picture) SDL_FreeSurface(e.picture);
        e.picture = nullptr;
    }
    if (hero) SDL_FreeSurface(hero);
    hero = nullptr;
}

void Palette::loadPictures(const std::string& look) {
    freePictures();
    for (PaletteEntry& e : entries) {
        const TileInfo* tile = findTile(e.value);
        const char* image = tile ? tile->image : kindImage(e.value);
        if (!*image) continue;
        // A look has tiles of its own; objects look alike in every world.
        e.picture = tile ? loadLookImage(look, image) : loadTileImage(image);
    }
    hero = loadTileImage("us");
}

int Palette::entryAt(int x, int y) const {
    for (int i = 0; i < size(); ++i) {
        const SDL_Rect r = square(i);
        if (x >= r.x && y >= r.y && x < r.x + paletteCell && y < r.y + paletteCell) return i;
    }
    return -1;
}

int Palette::indexOf(int value) const {
    for (int i = 0; i < size(); ++i) {
        if (entries[i].value == value) return i;
    }
    return -1;
}

SDL_Rect Palette::square(int index) const {
    SDL_Rect r;
    r.x = static_cast<Sint16>(paletteLeft + index % paletteColumns * paletteCell);
    r.y = static_cast<Sint16>(paletteTop + index / paletteColumns * paletteCell);
    r.w = r.h = paletteCell;
    return r;
}

int Palette::bottom() const {
    return paletteTop + (size() + paletteColumns - 1) / paletteColumns * paletteCell;
}

void Palette::drawCell(SDL_Surface* screen, int value, int x, int y) const {
    const int t = tileSize;
    if (value == TileEmpty) {
        SDL_Rect a = {static_cast<Sint16>(x + t / 4), static_cast<Sint16>(y + t / 2 - 1),
                      static_cast<Uint16>(t / 2), 2};
        SDL_FillRect(screen, &a, emptyColour);
        return;
    }
    if (value == TileStopper) {
        frame(screen, x + 2, y + 2, t - 4, stopperColour);
        return;
    }
    SDL_Surface* picture = value == TileStart ? hero : nullptr;
    const int index = indexOf(value);
    if (index >= 0 && entries[index].picture) picture = entries[index].picture;
    if (!picture) {
        // A number without a tile or a kind: a plain frame, so it stays visible.
        frame(screen, x + 4, y + 4, t - 8, stopperColour ^ 0xFFFFFF);
        return;
    }
    // Animation strips show their first frame; the Maimframe is two tiles square.
    const int edge = value == KindMaimframe ? 2 * t : t;
    SDL_Rect source = {0, 0, static_cast<Uint16>(std::min(picture->w, edge)),
                       static_cast<Uint16>(std::min(picture->h, edge))};
    if (picture == hero) source.x = static_cast<Sint16>(heroStandingColumn * t);
    drawSurface(static_cast<Sint16>(x), static_cast<Sint16>(y), picture, screen, &source, 255);
}

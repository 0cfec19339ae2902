// curdovar-glyphsheet: renders every printable ASCII glyph of the game's font
// at every point size the text fitting can try, with the native SDL_ttf,
// into one file the browser build draws its text from. With FIRST and LAST,
// only the sizes from FIRST to LAST points: the page ships the small sizes
// its first frame needs and fetches the rest after it.
//
//   curdovar-glyphsheet FONT OUT [FIRST LAST]
#include "web/GlyphSheetMaker.h"

#include <SDL.h>
#include <SDL_ttf.h>

#include <cstdlib>
#include <fstream>
#include <iostream>

namespace {
// The fitting search steps up by 16 from 16 and stops beyond 143, so it never
// tries a size above 128; larger sizes would only make the page heavier.
constexpr int largestSize = 128;
}  // namespace

int main(int argc, char** argv) {
    if (argc != 3 && argc != 5) {
        std::cerr << "usage: curdovar-glyphsheet FONT OUT [FIRST LAST]\n";
        return 2;
    }
    GlyphSheet sheet;
    int last = largestSize;
    if (argc == 5) {
        sheet.firstSize = std::atoi(argv[3]);
        last = std::atoi(argv[4]);
        if (sheet.firstSize < 1 || last > largestSize || last < sheet.firstSize) {
            std::cerr << "sizes from 1 to " << largestSize << " points, the first no larger\n";
            return 2;
        }
    }
    if (SDL_Init(0) < 0 || TTF_Init() < 0) {
        std::cerr << "SDL_ttf failed to start: " << SDL_GetError() << '\n';
        return 1;
    }
    for (int points = sheet.firstSize; points <= last; ++points) {
        TTF_Font* font = TTF_OpenFont(argv[1], points);
        if (!font) {
            std::cerr << argv[1] << ": " << SDL_GetError() << '\n';
            return 1;
        }
        SheetSize size;
        if (!makeSheetSize(font, size)) {
            std::cerr << "no glyph metrics at " << points << " points\n";
            return 1;
        }
        sheet.sizes.push_back(std::move(size));
        TTF_CloseFont(font);
    }
    std::ofstream out(argv[2], std::ios::binary);
    out << sheet.serialise();
    if (!out) {
        std::cerr << argv[2] << ": cannot write\n";
        return 1;
    }
    TTF_Quit();
    SDL_Quit();
    return 0;
}

#include "media/Text.h"

#include "media/Images.h"
#include "media/Geometry.h"

#include <iostream>
#include <map>
#include <sstream>

const char* const fontPath = "data/fonts/VeraMono.ttf";

namespace {
constexpr int firstSize = 16;    // point size the fitting search starts at
constexpr int firstStep = 16;    // points added while the text still fits
constexpr int sizeLimit = 143;   // the search stops above this size, so 128 is the largest result
constexpr Uint8 opaqueAlpha = 255;

std::map<int, TTF_Font*> fontCache;  // open fonts by point size, for the life of the program
std::vector<int> fittedSizes;        // sizes the last fitting search tried
int openCount = 0;                   // real opens of the font file

// How a fitting search ended.
enum class Fit { Fitted, MeasureFailed, NoFont, NothingFits };

// A line drawText rendered, kept so that a menu redrawing the same caption
// every frame does not search sizes and render glyphs again.
struct DrawnLine {
    std::string text;
    Uint8 r, g, b;
    int maxWidth;
    int maxHeight;
    SDL_Surface* surface;    // owned by the cache
    std::vector<int> sizes;  // what the search tried, for lastFittedSizes
};
constexpr std::size_t drawnLineLimit = 16;  // lines kept; the oldest goes first
std::vector<DrawnLine> drawnLines;

void forgetDrawnLines() {
    for (DrawnLine& line : drawnLines) SDL_FreeSurface(line.surface);
    drawnLines.clear();
}

DrawnLine* findDrawnLine(const std::string& text, SDL_Color colour, int maxWidth, int maxHeight) {
    for (DrawnLine& line : drawnLines) {
        if (line.maxWidth == maxWidth && line.maxHeight == maxHeight && line.r == colour.r &&
            line.g == colour.g && line.b == colour.b && line.text == text) {
            return &line;
        }
    }
    return nullptr;
}

// The fitting search of renderFittedText; says how it ended.
SDL_Surface* fitAndRender(const std::string& text, SDL_Color colour, int maxWidth, int maxHeight,
                          Fit& fit);
}  // namespace

TTF_Font* cachedFont(int pointSize) {
    const auto found = fontCache.find(pointSize);
    if (found != fontCache.end()) return found->second;
    ++openCount;
    TTF_Font* font = TTF_OpenFont(fontPath, pointSize);
    // A missing file is not remembered: it may turn up later (another working directory).
    if (font) fontCache[pointSize] = font;
    return font;
}

void closeFontCache() {
    // Lines rendered with the closed fonts go too: a later draw may find another font file.
    forgetDrawnLines();
    for (auto& entry : fontCache) TTF_CloseFont(entry.second);
    fontCache.clear();
}

int fontOpenCount() { return openCount; }

const std::vector<int>& lastFittedSizes() { return fittedSizes; }

SDL_Surface* renderFittedText(const std::string& text, SDL_Color colour, int maxWidth,
                              int maxHeight) {
    Fit fit = Fit::Fitted;
    return fitAndRender(text, colour, maxWidth, maxHeight, fit);
}

namespace {
SDL_Surface* fitAndRender(const std::string& text, SDL_Color colour, int maxWidth, int maxHeight,
                          Fit& fit) {
    fittedSizes.clear();
    int size = firstSize;
    int step = firstStep;
    TTF_Font* retained = nullptr;
    while (size <= sizeLimit && step > 0) {
        fittedSizes.push_back(size);
        TTF_Font* font = cachedFont(size);
        if (!font) {
            std::cerr << "Could not open font " << fontPath << ": " << SDL_GetError() << "\n";
            fit = Fit::NoFont;
            return nullptr;
        }
        int width = 0;
        int height = 0;
        if (TTF_SizeText(font, text.c_str(), &width, &height) < 0) {
            std::cerr << "Error getting size of '" << text << "'\nTTF: " << SDL_GetError();
            fit = Fit::MeasureFailed;
            return TTF_RenderText_Blended(font, text.c_str(), colour);
        }
        if (width < maxWidth && height < maxHeight) {
            retained = font;
            size += step;
        } else {
            size -= step;
            step >>= 1;
            size += step;
        }
    }
    if (!retained) {
        fit = Fit::NothingFits;
        return nullptr;
    }
    fit = Fit::Fitted;
    return TTF_RenderText_Blended(retained, text.c_str(), colour);
}
}  // namespace

void drawText(int x, int y, const std::string& text, SDL_Surface* target,
              const SDL_Color* colour, int maxWidth, int maxHeight) {
    if (!target || !colour) return;
    if (maxWidth == 0) maxWidth = target->w - x;
    if (maxHeight == 0) maxHeight = target->h - y;
    if (const DrawnLine* line = findDrawnLine(text, *colour, maxWidth, maxHeight)) {
        fittedSizes = line->sizes;
        drawSurface(wrap16(x), wrap16(y), line->surface, target, nullptr, opaqueAlpha);
        return;
    }
    Fit fit = Fit::Fitted;
    SDL_Surface* rendered = fitAndRender(text, *colour, maxWidth, maxHeight, fit);
    drawSurface(wrap16(x), wrap16(y), rendered, target, nullptr, opaqueAlpha);
    // Only a clean fit is kept; failures show (and report) themselves every time.
    if (!rendered || fit != Fit::Fitted) {
        SDL_FreeSurface(rendered);
        return;
    }
    if (drawnLines.size() == drawnLineLimit) {
        SDL_FreeSurface(drawnLines.front().surface);
        drawnLines.erase(drawnLines.begin());
    }
    drawnLines.push_back(DrawnLine{text, colour->r, colour->g, colour->b, maxWidth, maxHeight,
                                   rendered, fittedSizes});
}

std::string keyName(int key) {
    const char* name = SDL_GetKeyName(static_cast<SDLKey>(key));
    return name ? std::string(name) : std::string();
}

std::string intToString(int value) {
    std::ostringstream text;
    text << value;
    return text.str();
}

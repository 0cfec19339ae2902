#include "media/Text.h"

#include "media/Images.h"
#include "things/Geometry.h"

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
    for (auto& entry : fontCache) TTF_CloseFont(entry.second);
    fontCache.clear();
}

int fontOpenCount() { return openCount; }

const std::vector<int>& lastFittedSizes() { return fittedSizes; }

SDL_Surface* renderFittedText(const std::string& text, SDL_Color colour, int maxWidth,
                              int maxHeight) {
    fittedSizes.clear();
    int size = firstSize;
    int step = firstStep;
    TTF_Font* retained = nullptr;
    while (size <= sizeLimit && step > 0) {
        fittedSizes.push_back(size);
        TTF_Font* font = cachedFont(size);
        if (!font) {
            std::cerr << "Could not open font " << fontPath << ": " << SDL_GetError() << "\n";
            return nullptr;
        }
        int width = 0;
        int height = 0;
        if (TTF_SizeText(font, text.c_str(), &width, &height) < 0) {
            std::cerr << "Error getting size of '" << text << "'\nTTF: " << SDL_GetError();
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
    if (!retained) return nullptr;
    return TTF_RenderText_Blended(retained, text.c_str(), colour);
}

void drawText(int x, int y, const std::string& text, SDL_Surface* target,
              const SDL_Color* colour, int maxWidth, int maxHeight) {
    if (!target || !colour) return;
    if (maxWidth == 0) maxWidth = target->w - x;
    if (maxHeight == 0) maxHeight = target->h - y;
    SDL_Surface* rendered = renderFittedText(text, *colour, maxWidth, maxHeight);
    drawSurface(wrap16(x), wrap16(y), rendered, target, nullptr, opaqueAlpha);
    SDL_FreeSurface(rendered);
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

#include "media/Images.h"

#include "menus/Settings.h"

#include <SDL_image.h>

#include <cstdio>
#include <iostream>

namespace {
constexpr std::size_t pathBufferSize = 100;  // bytes for a tile image path, so at most 99 characters
constexpr Uint8 keyRed = 0;                  // pure cyan is the transparent colour
constexpr Uint8 keyGreen = 255;
constexpr Uint8 keyBlue = 255;
constexpr Uint8 opaqueAlpha = 255;
}  // namespace

SDL_Surface* loadImage(const std::string& path, bool isBmp) {
    SDL_Surface* loaded = nullptr;
    if (isBmp) {
        // A missing file leaves SDL's "couldn't open" reason in the error text;
        // handing a null stream on would replace it with a vaguer one.
        SDL_RWops* stream = SDL_RWFromFile(path.c_str(), "rb");
        if (stream) loaded = SDL_LoadBMP_RW(stream, 1);
    } else {
        loaded = IMG_Load(path.c_str());
    }
    if (!loaded) {
        std::cout << "Image " << path << " failed to load! \n" << SDL_GetError() << "\n";
        return nullptr;
    }

    SDL_Surface* converted = SDL_DisplayFormat(loaded);
    SDL_FreeSurface(loaded);
    if (!converted) {
        std::cout << path << " could not optimize\n";
        return nullptr;
    }

    if (!converted->format) {
        std::cout << "Format is null o.0\n";
        return converted;
    }
    const Uint32 cyan = SDL_MapRGB(converted->format, keyRed, keyGreen, keyBlue);
    if (SDL_SetColorKey(converted, SDL_SRCCOLORKEY, cyan) < 0) std::cerr << SDL_GetError();
    return converted;
}

SDL_Surface* loadTileImage(const std::string& name) {
    static const char* const extensions[] = {"bmp", "png"};
    for (const char* extension : extensions) {
        char path[pathBufferSize];
        std::snprintf(path, sizeof path, "./data/images/%d/%s.%s", tileSize, name.c_str(),
                      extension);
        const bool isBmp = extension == extensions[0];
        if (SDL_Surface* image = loadImage(path, isBmp)) return image;
    }
    return nullptr;
}

void drawSurface(Sint16 x, Sint16 y, SDL_Surface* source, SDL_Surface* target,
                 SDL_Rect* sourceRect, Uint8 alpha) {
    if (!source) return;
    SDL_Rect destination;
    destination.x = x;
    destination.y = y;
    destination.w = static_cast<Uint16>(source->w);
    destination.h = static_cast<Uint16>(source->h);
    if (alpha == opaqueAlpha) {
        SDL_BlitSurface(source, sourceRect, target, &destination);
        return;
    }
    SDL_SetAlpha(source, SDL_SRCALPHA, alpha);
    SDL_BlitSurface(source, sourceRect, target, &destination);
    SDL_SetAlpha(source, SDL_SRCALPHA, opaqueAlpha);
}

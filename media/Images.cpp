#include "media/Images.h"

#include "menus/Settings.h"

#include <SDL_image.h>

#include <algorithm>
#include <cstdio>
#include <dirent.h>
#include <iostream>
#include <sys/stat.h>

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

namespace {
const char* const lookFolder = "./data/images/looks/";

bool isFile(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

// The first of NAME.bmp and NAME.png that exists, loaded; null when neither does.
SDL_Surface* loadIfPresent(const std::string& base) {
    if (isFile(base + ".bmp")) return loadImage(base + ".bmp", true);
    if (isFile(base + ".png")) return loadImage(base + ".png", false);
    return nullptr;
}
}  // namespace

bool isLookName(const std::string& look) {
    if (look.empty()) return false;
    for (char c : look) {
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                           (c >= '0' && c <= '9') || c == '-' || c == '_';
        if (!plain) return false;
    }
    return true;
}

bool lookHasSize(const std::string& look, int size) {
    struct stat info;
    const std::string folder = lookFolder + look + "/" + std::to_string(size);
    return isLookName(look) && stat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

SDL_Surface* loadLookImage(const std::string& look, const std::string& name) {
    if (isLookName(look)) {
        const std::string base = lookFolder + look + "/" + std::to_string(tileSize) + "/" + name;
        if (SDL_Surface* own = loadIfPresent(base)) return own;
    }
    return loadTileImage(name);
}

SDL_Surface* loadLookBackground(const std::string& look) {
    return isLookName(look) ? loadIfPresent(lookFolder + look + "/background") : nullptr;
}

std::vector<std::string> lookNames() {
    std::vector<std::string> names;
    if (DIR* folder = opendir(lookFolder)) {
        while (const dirent* entry = readdir(folder)) {
            const std::string name = entry->d_name;
            if (isLookName(name)) names.push_back(name);
        }
        closedir(folder);
    }
    std::sort(names.begin(), names.end());
    return names;
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

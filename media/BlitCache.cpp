#include "media/BlitCache.h"

#include <cstring>

namespace {
constexpr Uint32 watchedFlags = SDL_SRCCOLORKEY | SDL_SRCALPHA | SDL_RLEACCEL;
}  // namespace

SDL_Surface* EncodedTwin::of(SDL_Surface* original) {
    if (!original || !twinnable(original)) return original;
    if (original != source || !matches(original)) remake(original);
    return twin ? twin : original;
}

bool EncodedTwin::twinnable(const SDL_Surface* image) {
    return (image->flags & watchedFlags) == SDL_SRCCOLORKEY && !SDL_MUSTLOCK(image) &&
           image->pixels && image->format && image->w > 0 && image->h > 0;
}

bool EncodedTwin::matches(const SDL_Surface* image) const {
    const SDL_PixelFormat& f = *image->format;
    if (!twin || image->w != w || image->h != h || image->pitch != pitch ||
        f.BytesPerPixel != bytesPerPixel || f.Rmask != masks[0] || f.Gmask != masks[1] ||
        f.Bmask != masks[2] || f.Amask != masks[3] || f.colorkey != key || f.palette) {
        return false;
    }
    const Uint8* row = static_cast<const Uint8*>(image->pixels);
    for (int y = 0; y < h; ++y, row += pitch) {
        if (std::memcmp(row, &pixels[static_cast<size_t>(y) * rowBytes()], rowBytes()) != 0) {
            return false;
        }
    }
    return true;
}

void EncodedTwin::remake(SDL_Surface* image) {
    if (twin) SDL_FreeSurface(twin);
    twin = nullptr;
    source = image;
    const SDL_PixelFormat& f = *image->format;
    w = image->w;
    h = image->h;
    pitch = image->pitch;
    bytesPerPixel = f.BytesPerPixel;
    masks[0] = f.Rmask;
    masks[1] = f.Gmask;
    masks[2] = f.Bmask;
    masks[3] = f.Amask;
    key = f.colorkey;
    if (f.palette) return;
    pixels.resize(rowBytes() * static_cast<size_t>(h));
    const Uint8* row = static_cast<const Uint8*>(image->pixels);
    for (int y = 0; y < h; ++y, row += pitch) {
        std::memcpy(&pixels[static_cast<size_t>(y) * rowBytes()], row, rowBytes());
    }
    // Without the colour key in the flags the conversion copies every pixel as it is.
    twin = SDL_ConvertSurface(image, image->format, SDL_SWSURFACE);
    if (twin) SDL_SetColorKey(twin, SDL_SRCCOLORKEY | SDL_RLEACCEL, key);
}

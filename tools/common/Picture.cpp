#include "tools/common/Picture.h"

#include "shell/WholeFile.h"

#include <cstring>
#include <iostream>

std::string encodePicture(SDL_Surface* picture) {
    if (!picture || picture->format->BytesPerPixel != 4) return {};
    std::string bytes = "P6\n" + std::to_string(picture->w) + ' ' + std::to_string(picture->h) +
                        "\n255\n";
    const std::size_t header = bytes.size();
    bytes.resize(header + 3 * static_cast<std::size_t>(picture->w) * picture->h);
    // Locking is what brings a browser canvas's pixels into memory.
    if (SDL_LockSurface(picture) < 0) return {};
    char* out = &bytes[header];
    for (int y = 0; y < picture->h; ++y) {
        const Uint8* row = static_cast<const Uint8*>(picture->pixels) + y * picture->pitch;
        for (int x = 0; x < picture->w; ++x) {
            Uint32 pixel = 0;
            std::memcpy(&pixel, row + 4 * x, 4);
            Uint8 r = 0, g = 0, b = 0;
            SDL_GetRGB(pixel, picture->format, &r, &g, &b);
            *out++ = static_cast<char>(r);
            *out++ = static_cast<char>(g);
            *out++ = static_cast<char>(b);
        }
    }
    SDL_UnlockSurface(picture);
    return bytes;
}

bool writePicture(SDL_Surface* picture, const std::string& path) {
    const std::string bytes = encodePicture(picture);
    if (bytes.empty()) {
        std::cerr << path << ": only a 32-bit picture can be written\n";
        return false;
    }
    return writeWholeFile(path, bytes);
}

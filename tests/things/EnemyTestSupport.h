#pragma once

// Small helpers shared by the enemy tests: grids, multi-colour strips and
// silent sound effects written into the current scratch directory.

#include "menus/Settings.h"
#include "things/Thing.h"

#include <SDL.h>

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

namespace enemytest {

// The frame colours of a written strip, frame 0 first.
const SDL_Color stripColours[4] = {{255, 0, 0, 0}, {0, 255, 0, 0}, {0, 0, 255, 0},
                                   {255, 255, 0, 0}};

inline Grid makeGrid(int columns, int rows) { return Grid(columns, std::vector<int>(rows, 0)); }

// Saves data/images/<tileSize>/<name>.bmp holding `count` frames side by
// side, each frameWidth by frameHeight and filled with stripColours[i].
inline void writeStrip(const std::string& name, int count, int frameWidth, int frameHeight) {
    SDL_Surface* strip = SDL_CreateRGBSurface(SDL_SWSURFACE, frameWidth * count, frameHeight, 32,
                                              0x00FF0000, 0x0000FF00, 0x000000FF, 0);
    for (int i = 0; i < count; ++i) {
        SDL_Rect part = {static_cast<Sint16>(i * frameWidth), 0,
                         static_cast<Uint16>(frameWidth), static_cast<Uint16>(frameHeight)};
        const SDL_Color& c = stripColours[i];
        SDL_FillRect(strip, &part, SDL_MapRGB(strip->format, c.r, c.g, c.b));
    }
    const std::string path =
        "data/images/" + std::to_string(tileSize) + "/" + name + ".bmp";
    SDL_SaveBMP(strip, path.c_str());
    SDL_FreeSurface(strip);
}

// Saves data/sound/<name>.wav: ms milliseconds of silence in the mixer's format.
inline void writeSilentWav(const std::string& name, int ms) {
    const std::uint32_t rate = 22050;
    const std::uint16_t channels = 2;
    const std::uint16_t bits = 16;
    const std::uint32_t dataBytes = rate * channels * (bits / 8) * ms / 1000;
    std::ofstream out("data/sound/" + name + ".wav", std::ios::binary);
    auto put32 = [&out](std::uint32_t v) {
        for (int i = 0; i < 4; ++i) out.put(static_cast<char>((v >> (8 * i)) & 0xFF));
    };
    auto put16 = [&out](std::uint16_t v) {
        out.put(static_cast<char>(v & 0xFF));
        out.put(static_cast<char>(v >> 8));
    };
    out.write("RIFF", 4);
    put32(36 + dataBytes);
    out.write("WAVEfmt ", 8);
    put32(16);
    put16(1);  // PCM
    put16(channels);
    put32(rate);
    put32(rate * channels * (bits / 8));
    put16(static_cast<std::uint16_t>(channels * (bits / 8)));
    put16(bits);
    out.write("data", 4);
    put32(dataBytes);
    for (std::uint32_t i = 0; i < dataBytes; ++i) out.put(0);
}

// Clears the screen to black.
inline void clearScreen(SDL_Surface* screen) {
    SDL_FillRect(screen, nullptr, SDL_MapRGB(screen->format, 0, 0, 0));
}

inline bool isColour(const SDL_Color& c, Uint8 r, Uint8 g, Uint8 b) {
    return c.r == r && c.g == g && c.b == b;
}

inline bool isColour(const SDL_Color& c, const SDL_Color& want) {
    return isColour(c, want.r, want.g, want.b);
}

inline bool isBlack(const SDL_Color& c) { return isColour(c, 0, 0, 0); }

}  // namespace enemytest

#pragma once

#include <SDL.h>

#include <vector>

// A run-length encoded twin of an image drawn every frame. SDL copies its
// opaque runs whole instead of testing each pixel against the colour key,
// and the picture is the same. The twin is remade whenever the original is
// not exactly what it was made from (a new level, another Level's tiles).
class EncodedTwin {
public:
    EncodedTwin() = default;
    EncodedTwin(const EncodedTwin&) = delete;
    EncodedTwin& operator=(const EncodedTwin&) = delete;

    // The twin of original, or original itself when it cannot have one.
    SDL_Surface* of(SDL_Surface* original);

private:
    // Colour-keyed software pixels that can be read without a lock.
    static bool twinnable(const SDL_Surface* image);
    size_t rowBytes() const { return static_cast<size_t>(w) * bytesPerPixel; }
    bool matches(const SDL_Surface* image) const;
    void remake(SDL_Surface* image);

    SDL_Surface* source = nullptr;  // borrowed; compared, never dereferenced when stale
    SDL_Surface* twin = nullptr;    // owned
    std::vector<Uint8> pixels;      // the original's pixels when the twin was made
    int w = 0;
    int h = 0;
    int pitch = 0;
    Uint8 bytesPerPixel = 0;
    Uint32 masks[4] = {};
    Uint32 key = 0;
};

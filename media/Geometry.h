#pragma once

#include <SDL.h>

// Positions are 16-bit on purpose: arithmetic on SDL_Rect coordinates wraps
// at 16 bits. This is the one place that does the narrowing, without signed
// overflow.
inline Sint16 wrap16(int value) {
    return static_cast<Sint16>(static_cast<Uint16>(value));
}

// The level pixel of a cell edge, cell × size, narrowed like any position.
// The product is taken in 64 bits: a far cell at a large tile size (a level
// file may hold any number) wraps instead of overflowing an int.
inline Sint16 cellToPixel(int cell, int size) {
    const long long pixel = static_cast<long long>(cell) * size;
    return wrap16(static_cast<int>(pixel & 0xFFFF));
}

// Two rectangles overlap when each begins strictly before the other ends on
// both axes; touching edges do not overlap.
inline bool overlaps(const SDL_Rect& a, const SDL_Rect& b) {
    return b.x < a.x + a.w && a.x < b.x + b.w && b.y < a.y + a.h && a.y < b.y + b.h;
}

#pragma once

#include <SDL.h>
#include <SDL_ttf.h>

#include <string>
#include <vector>

// The one font of the game.
extern const char* const fontPath;  // "data/fonts/VeraMono.ttf"

// Renders text at the largest point size (up to 128) at which it is strictly
// narrower than maxWidth and strictly lower than maxHeight. The caller owns
// the surface. Null when nothing fits even at size 1 or the font is missing.
SDL_Surface* renderFittedText(const std::string& text, SDL_Color colour, int maxWidth,
                              int maxHeight);

// Renders text fitted into the box from (x, y) and blits it there. A maximum
// of 0 reaches to the target's right or bottom edge.
void drawText(int x, int y, const std::string& text, SDL_Surface* target,
              const SDL_Color* colour, int maxWidth, int maxHeight);

// SDL's name for a key code.
std::string keyName(int key);

std::string intToString(int value);

// The point sizes the last renderFittedText call tried, in order.
const std::vector<int>& lastFittedSizes();

// The font at a point size, opened once and kept for the life of the
// program; null when the font file cannot be opened. Not owned by the caller.
TTF_Font* cachedFont(int pointSize);

// Closes every cached font (at shutdown, or when the working directory changes).
void closeFontCache();

// How many times the font file has been opened; lets tests and benchmarks see the cache work.
int fontOpenCount();

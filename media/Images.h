#pragma once

#include <SDL.h>

#include <string>

// Loads one image file (BMP through SDL's own loader when isBmp, otherwise
// SDL_image), converts it to the display format and makes pure cyan
// transparent. The caller owns the result; null on failure.
SDL_Surface* loadImage(const std::string& path, bool isBmp);

// Loads a named image from data/images/<tileSize>/, trying .bmp before .png.
SDL_Surface* loadTileImage(const std::string& name);

// Blits source (whole, or the part in sourceRect) onto target with its
// top-left corner at (x, y). Alpha 255 is an opaque draw; any other value
// blends and leaves the source at SDL_SRCALPHA with alpha 255. A null source
// draws nothing.
void drawSurface(Sint16 x, Sint16 y, SDL_Surface* source, SDL_Surface* target,
                 SDL_Rect* sourceRect, Uint8 alpha);

#pragma once

#include <SDL.h>

#include <string>
#include <vector>

// Loads one image file (BMP through SDL's own loader when isBmp, otherwise
// SDL_image), converts it to the display format and makes pure cyan
// transparent. The caller owns the result; null on failure.
SDL_Surface* loadImage(const std::string& path, bool isBmp);

// Loads a named image from data/images/<tileSize>/, trying .bmp before .png.
SDL_Surface* loadTileImage(const std::string& name);

// A world's look: its own tile images in data/images/looks/<look>/<tileSize>/
// and its own background, data/images/looks/<look>/background.png (or .bmp),
// one picture for both tile sizes. A look name is letters, digits, '-' and
// '_' only, so it can never reach outside its folder.
bool isLookName(const std::string& look);
// Whether the look has its folder of images at this tile size.
bool lookHasSize(const std::string& look, int size);
// The look's own image of that name, or, where the look has none (or no
// look is given), the default one from data/images/<tileSize>/. Only the
// default's failure is reported.
SDL_Surface* loadLookImage(const std::string& look, const std::string& name);
// The look's background; null, without a word, when it has none.
SDL_Surface* loadLookBackground(const std::string& look);
// The looks in data/images/looks, by name in order.
std::vector<std::string> lookNames();

// Blits source (whole, or the part in sourceRect) onto target with its
// top-left corner at (x, y). Alpha 255 is an opaque draw; any other value
// blends and leaves the source at SDL_SRCALPHA with alpha 255. A null source
// draws nothing.
void drawSurface(Sint16 x, Sint16 y, SDL_Surface* source, SDL_Surface* target,
                 SDL_Rect* sourceRect, Uint8 alpha);

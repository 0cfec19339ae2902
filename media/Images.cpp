#include "media/Images.h"
SDL_Surface* loadImage(const std::string&, bool) { return nullptr; }
SDL_Surface* loadTileImage(const std::string&) { return nullptr; }
void drawSurface(Sint16, Sint16, SDL_Surface*, SDL_Surface*, SDL_Rect*, Uint8) {}

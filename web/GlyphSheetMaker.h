#pragma once

// Native only: the glyph sheet's entries taken from SDL_ttf itself.

#include "web/GlyphSheet.h"

#include <SDL_ttf.h>

// Every glyph of the sheet at the font's point size; false when SDL_ttf has no metrics.
bool makeSheetSize(TTF_Font* font, SheetSize& size);

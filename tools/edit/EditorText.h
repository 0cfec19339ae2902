#pragma once

#include <SDL.h>

#include <string>

// The editor's own small text, in the game's font at one size: status
// lines, palette names, the problems list.

// Draws text with its top-left corner at (x, y); colour as 0xRRGGBB.
void drawEditorText(SDL_Surface* screen, int x, int y, const std::string& text,
                    Uint32 colour = 0xFFFFFF);
// How wide the text would be, in pixels.
int editorTextWidth(const std::string& text);

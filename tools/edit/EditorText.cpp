#include "tools/edit/EditorText.h"

#include "media/Text.h"
#include "tools/edit/Layout.h"

void drawEditorText(SDL_Surface* screen, int x, int y, const std::string& text, Uint32 colour) {
    TTF_Font* font = cachedFont(textPoints);
    if (!font || text.empty()) return;
    const SDL_Color c = {static_cast<Uint8>(colour >> 16), static_cast<Uint8>(colour >> 8),
                         static_cast<Uint8>(colour), 0};
    SDL_Surface* rendered = TTF_RenderUTF8_Blended(font, text.c_str(), c);
    if (!rendered) return;
    SDL_Rect at = {static_cast<Sint16>(x), static_cast<Sint16>(y), 0, 0};
    SDL_BlitSurface(rendered, nullptr, screen, &at);
    SDL_FreeSurface(rendered);
}

int editorTextWidth(const std::string& text) {
    TTF_Font* font = cachedFont(textPoints);
    int w = 0;
    int h = 0;
    if (font) TTF_SizeUTF8(font, text.c_str(), &w, &h);
    return w;
}

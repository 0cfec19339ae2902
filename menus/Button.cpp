#include "menus/Button.h"

#include "media/Images.h"
#include "media/Geometry.h"

Button::Button(int x, int y, int w, int h, Uint32 bg, SDL_Color tc, TTF_Font* f,
               const std::string& t)
    : background(bg), textColour(tc), text(t), font(f) {
    rect.x = wrap16(x);
    rect.y = wrap16(y);
    rect.w = static_cast<Uint16>(w);
    rect.h = static_cast<Uint16>(h);
    render();
}

Button::~Button() {
    if (surface) SDL_FreeSurface(surface);
}

void Button::render() {
    // Without a font, or when SDL_ttf renders nothing (an empty caption), the
    // button is still its filled rectangle.
    SDL_Surface* caption =
        font ? TTF_RenderText_Blended(font, text.c_str(), textColour) : nullptr;
    if (surface) SDL_FreeSurface(surface);
    surface = SDL_CreateRGBSurface(SDL_SRCCOLORKEY, rect.w, rect.h, 32, 0, 0, 0, 0);
    if (surface) {
        SDL_FillRect(surface, nullptr, background);
        if (caption) {
            // Plain int division truncates toward zero; a caption larger than
            // the button gets negative offsets and the blit cuts both sides.
            const int x = (surface->w - caption->w) / 2;
            const int y = (surface->h - caption->h) / 2;
            drawSurface(wrap16(x), wrap16(y), caption, surface, nullptr, 255);
        }
    }
    if (caption) SDL_FreeSurface(caption);
}

void Button::setBackground(Uint32 pixel) {
    background = pixel;
    render();
}

void Button::setText(const std::string& caption) {
    text = caption;
    render();
}

void Button::draw(SDL_Surface* screen) {
    if (!surface || !screen) return;
    SDL_Rect place = rect;  // the blit writes the clipped area back into it
    SDL_BlitSurface(surface, nullptr, screen, &place);
}

bool Button::isClicked(const SDL_Event& event) const {
    if (event.type != SDL_MOUSEBUTTONDOWN) return false;
    const int x = event.button.x;
    const int y = event.button.y;
    return rect.x <= x && x < rect.x + rect.w && rect.y <= y && y < rect.y + rect.h;
}

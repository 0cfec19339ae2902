#include "menus/Button.h"
Button::Button(int x, int y, int w, int h, Uint32 bg, SDL_Color tc, TTF_Font* f, const std::string& t)
    : background(bg), textColour(tc), text(t), font(f) { rect.x = Sint16(x); rect.y = Sint16(y); rect.w = Uint16(w); rect.h = Uint16(h); }
Button::~Button() {}
void Button::render() {}
void Button::setBackground(Uint32 p) { background = p; }
void Button::setText(const std::string& c) { text = c; }
void Button::draw(SDL_Surface*) {}
bool Button::isClicked(const SDL_Event&) const { return false; }

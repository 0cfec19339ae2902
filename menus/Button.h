#pragma once

#include <SDL.h>
#include <SDL_ttf.h>

#include <string>

// A filled rectangle with a centred one-line caption, pre-rendered into its
// own surface, that answers mouse clicks.
class Button {
public:
    Button(int x, int y, int w, int h, Uint32 background, SDL_Color textColour, TTF_Font* font,
           const std::string& text);
    virtual ~Button();
    Button(const Button&) = delete;
    Button& operator=(const Button&) = delete;

    void render();
    void setBackground(Uint32 pixel);
    void setText(const std::string& caption);
    void draw(SDL_Surface* screen);
    // True exactly for a mouse-button press inside the button.
    bool isClicked(const SDL_Event& event) const;

    const SDL_Rect& getRect() const { return rect; }
    const std::string& getText() const { return text; }
    SDL_Surface* getSurface() const { return surface; }

protected:
    SDL_Rect rect;                   // screen pixels
    SDL_Surface* surface = nullptr;  // owned; the rendered button
    Uint32 background;               // pixel value in the display format
    SDL_Color textColour;
    std::string text;
    TTF_Font* font;                  // borrowed from the menu
};

// A button of the controls menu that remembers which binding it edits.
class controlbutton final : public Button {
public:
    using Button::Button;
    int userKey = 0;  // the UserKey this button shows and changes
};

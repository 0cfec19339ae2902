#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A colour as 0xRRGGBB; `clear` marks a transparent pixel.
using Colour = std::uint32_t;
constexpr Colour clear = 0xFF000000;
// What a transparent pixel becomes in a saved file: the game's colour key.
constexpr Colour keyCyan = 0x00FFFF;

inline int redOf(Colour c) { return static_cast<int>((c >> 16) & 0xFF); }
inline int greenOf(Colour c) { return static_cast<int>((c >> 8) & 0xFF); }
inline int blueOf(Colour c) { return static_cast<int>(c & 0xFF); }
inline Colour rgb(int r, int g, int b) {
    return (static_cast<Colour>(r & 0xFF) << 16) | (static_cast<Colour>(g & 0xFF) << 8) |
           static_cast<Colour>(b & 0xFF);
}

// A rectangle of pixels, the unit every step of the generator works on.
class Picture {
public:
    Picture() = default;
    Picture(int width, int height, Colour fill = clear);

    int width() const { return w; }
    int height() const { return h; }
    bool empty() const { return w == 0 || h == 0; }
    // Outside the picture reads as clear.
    Colour at(int x, int y) const;
    void set(int x, int y, Colour c);

    // The part (x, y, width, height); what lies outside this picture is clear.
    Picture crop(int x, int y, int width, int height) const;
    // Left and right swapped.
    Picture mirrored() const;
    // Every pixel of `top` that is not clear replaces the pixel below it.
    void drawOver(const Picture& top, int x, int y);
    // Every other pixel (checkerboard) made clear: a see-through look.
    Picture ghosted() const;
    // Colours swapped by a table; colours not in the table stay.
    Picture recoloured(const std::vector<std::pair<Colour, Colour>>& table) const;
    // Twice the size by Scale2x (EPX): diagonals stay smooth instead of stair-stepped.
    Picture scale2x() const;
    // Scale2x of each cell×cell square on its own, so frames of a strip do not bleed.
    Picture scale2xCells(int cell) const;
    // First row holding a visible pixel, or height() when there is none.
    int topRow() const;
    bool operator==(const Picture& other) const;
    bool operator!=(const Picture& other) const { return !(*this == other); }

private:
    int w = 0;
    int h = 0;
    std::vector<Colour> pixels;
};

// Writes a 24-bit BMP through SDL, clear pixels as pure cyan.
bool savePicture(const Picture& picture, const std::string& path);
// Writes an RGBA PNG through libpng, clear pixels fully transparent.
bool savePng(const Picture& picture, const std::string& path, std::string& error);
// Writes an opaque RGB PNG for the game to load, clear pixels as pure cyan
// (its colour key), through a temporary beside `path` renamed over it.
bool saveKeyedPng(const Picture& picture, const std::string& path, std::string& error);

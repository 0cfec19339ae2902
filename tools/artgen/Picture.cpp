#include "tools/artgen/Picture.h"

#include <SDL.h>
#include <png.h>

#include <algorithm>
#include <cstdio>

Picture::Picture(int width, int height, Colour fill)
    : w(std::max(0, width)), h(std::max(0, height)),
      pixels(static_cast<size_t>(w) * static_cast<size_t>(h), fill) {}

Colour Picture::at(int x, int y) const {
    if (x < 0 || y < 0 || x >= w || y >= h) return clear;
    return pixels[static_cast<size_t>(y) * w + x];
}

void Picture::set(int x, int y, Colour c) {
    if (x < 0 || y < 0 || x >= w || y >= h) return;
    pixels[static_cast<size_t>(y) * w + x] = c;
}

Picture Picture::crop(int x, int y, int width, int height) const {
    Picture part(width, height);
    for (int row = 0; row < height; ++row)
        for (int col = 0; col < width; ++col) part.set(col, row, at(x + col, y + row));
    return part;
}

Picture Picture::mirrored() const {
    Picture flipped(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) flipped.set(w - 1 - x, y, at(x, y));
    return flipped;
}

void Picture::drawOver(const Picture& top, int x, int y) {
    for (int row = 0; row < top.height(); ++row)
        for (int col = 0; col < top.width(); ++col) {
            const Colour c = top.at(col, row);
            if (c != clear) set(x + col, y + row, c);
        }
}

Picture Picture::ghosted() const {
    Picture ghost = *this;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if ((x + y) % 2 == 1) ghost.set(x, y, clear);
    return ghost;
}

Picture Picture::recoloured(const std::vector<std::pair<Colour, Colour>>& table) const {
    Picture out = *this;
    for (Colour& c : out.pixels)
        for (const auto& swap : table)
            if (c == swap.first) {
                c = swap.second;
                break;
            }
    return out;
}

Picture Picture::scale2x() const {
    Picture big(2 * w, 2 * h);
    // Neighbours beyond the edge repeat the edge pixel, so borders stay straight.
    auto near = [this](int x, int y) {
        return at(std::clamp(x, 0, w - 1), std::clamp(y, 0, h - 1));
    };
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const Colour p = at(x, y);
            const Colour a = near(x, y - 1);  // above
            const Colour b = near(x + 1, y);  // right
            const Colour c = near(x - 1, y);  // left
            const Colour d = near(x, y + 1);  // below
            Colour e0 = p, e1 = p, e2 = p, e3 = p;
            if (c == a && c != d && a != b) e0 = a;
            if (a == b && a != c && b != d) e1 = b;
            if (d == c && d != b && c != a) e2 = c;
            if (b == d && b != a && d != c) e3 = d;
            big.set(2 * x, 2 * y, e0);
            big.set(2 * x + 1, 2 * y, e1);
            big.set(2 * x, 2 * y + 1, e2);
            big.set(2 * x + 1, 2 * y + 1, e3);
        }
    return big;
}

Picture Picture::scale2xCells(int cell) const {
    Picture big(2 * w, 2 * h);
    for (int y = 0; y < h; y += cell)
        for (int x = 0; x < w; x += cell)
            big.drawOver(crop(x, y, std::min(cell, w - x), std::min(cell, h - y)).scale2x(),
                         2 * x, 2 * y);
    return big;
}

int Picture::topRow() const {
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (at(x, y) != clear) return y;
    return h;
}

bool Picture::operator==(const Picture& other) const {
    return w == other.w && h == other.h && pixels == other.pixels;
}

bool savePicture(const Picture& picture, const std::string& path) {
    // These masks are the byte order of a 24-bit BMP, so SDL writes the rows as they are.
    SDL_Surface* surface = SDL_CreateRGBSurface(SDL_SWSURFACE, picture.width(), picture.height(),
                                                24, 0x00FF0000, 0x0000FF00, 0x000000FF, 0);
    if (!surface) return false;
    SDL_LockSurface(surface);
    for (int y = 0; y < picture.height(); ++y) {
        Uint8* row = static_cast<Uint8*>(surface->pixels) + y * surface->pitch;
        for (int x = 0; x < picture.width(); ++x) {
            Colour c = picture.at(x, y);
            if (c == clear) c = keyCyan;
            Uint8* pixel = row + 3 * x;
            pixel[0] = static_cast<Uint8>(blueOf(c));
            pixel[1] = static_cast<Uint8>(greenOf(c));
            pixel[2] = static_cast<Uint8>(redOf(c));
        }
    }
    SDL_UnlockSurface(surface);
    const bool saved = SDL_SaveBMP(surface, path.c_str()) == 0;
    SDL_FreeSurface(surface);
    return saved;
}

bool savePng(const Picture& picture, const std::string& path, std::string& error) {
    std::vector<png_byte> rgba;
    rgba.reserve(static_cast<size_t>(picture.width()) * picture.height() * 4);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) {
            const Colour c = picture.at(x, y);
            const bool seen = c != clear;
            rgba.insert(rgba.end(), {static_cast<png_byte>(seen ? redOf(c) : 0),
                                     static_cast<png_byte>(seen ? greenOf(c) : 0),
                                     static_cast<png_byte>(seen ? blueOf(c) : 0),
                                     static_cast<png_byte>(seen ? 255 : 0)});
        }
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(picture.width());
    image.height = static_cast<png_uint_32>(picture.height());
    image.format = PNG_FORMAT_RGBA;
    if (png_image_write_to_file(&image, path.c_str(), 0, rgba.data(), 0, nullptr)) return true;
    error = path + ": " + image.message;
    return false;
}

bool saveKeyedPng(const Picture& picture, const std::string& path, std::string& error) {
    std::vector<png_byte> rgb;
    rgb.reserve(static_cast<size_t>(picture.width()) * picture.height() * 3);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) {
            Colour c = picture.at(x, y);
            if (c == clear) c = keyCyan;
            rgb.insert(rgb.end(), {static_cast<png_byte>(redOf(c)), static_cast<png_byte>(greenOf(c)),
                                   static_cast<png_byte>(blueOf(c))});
        }
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(picture.width());
    image.height = static_cast<png_uint_32>(picture.height());
    image.format = PNG_FORMAT_RGB;
    const std::string temporary = path + ".tmp";
    if (!png_image_write_to_file(&image, temporary.c_str(), 0, rgb.data(), 0, nullptr)) {
        error = path + ": " + image.message;
        return false;
    }
    if (std::rename(temporary.c_str(), path.c_str()) != 0) {
        std::remove(temporary.c_str());
        error = path + ": cannot rename " + temporary + " over it";
        return false;
    }
    return true;
}

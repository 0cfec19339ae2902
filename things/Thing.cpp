#include "things/Thing.h"

#include "media/Images.h"
#include "menus/Settings.h"
#include "media/Geometry.h"

Thing::Thing(int col, int row) {
    rect.x = cellToPixel(col, tileSize);
    rect.y = cellToPixel(row, tileSize);
    rect.w = static_cast<Uint16>(tileSize);
    rect.h = static_cast<Uint16>(tileSize);
}

Thing::Thing() {
    rect.x = 0;
    rect.y = 0;
    rect.w = static_cast<Uint16>(tileSize);
    rect.h = static_cast<Uint16>(tileSize);
}

void Thing::read(std::istream&) {}

Thing::~Thing() {
    if (image) SDL_FreeSurface(image);
}

void Thing::update(const Grid&, const ThingList&) {}

void Thing::draw(SDL_Surface* screen, const SDL_Rect* camera) {
    if (!image) return;
    drawSurface(wrap16(rect.x - camera->x), wrap16(rect.y - camera->y), image, screen, nullptr,
                255);
}

int Thing::touch(Player*) { return TouchNothing; }

void Thing::fitToImage() {
    if (image) {
        rect.w = static_cast<Uint16>(image->w);
        rect.h = static_cast<Uint16>(image->h);
    } else {
        rect.w = static_cast<Uint16>(tileSize);
        rect.h = static_cast<Uint16>(tileSize);
    }
}

SDL_Rect Thing::frameRect(int n) {
    SDL_Rect frame;
    frame.x = wrap16(tileSize * n);
    frame.y = 0;
    frame.w = static_cast<Uint16>(tileSize);
    frame.h = static_cast<Uint16>(tileSize);
    return frame;
}

std::istream& operator>>(std::istream& in, Thing& thing) {
    thing.read(in);
    return in;
}

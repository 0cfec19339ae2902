#include "things/Crab.h"

#include "level/Tiles.h"
#include "media/Images.h"
#include "menus/Settings.h"
#include "media/Geometry.h"

Crab::Crab(int col, int row) : Thing(col, row) {
    image = loadTileImage(kindImage(KindCrab));
    // Two frames side by side; an odd pixel column is dropped.
    const int frameWidth = image ? image->w / 2 : tileSize / 2;
    const int frameHeight = image ? image->h : tileSize;
    frameClip.x = 0;
    frameClip.y = 0;
    frameClip.w = static_cast<Uint16>(frameWidth);
    frameClip.h = static_cast<Uint16>(frameHeight);
    rect.w = static_cast<Uint16>(frameWidth);
    rect.h = static_cast<Uint16>(frameHeight);
}

int Crab::touch(Player*) {
    frameClip.x = wrap16(frameClip.w);
    return TouchNothing;
}

void Crab::draw(SDL_Surface* screen, const SDL_Rect* camera) {
    SDL_Rect source = frameClip;
    drawSurface(wrap16(rect.x - camera->x), wrap16(rect.y - camera->y), image, screen, &source,
                255);
}

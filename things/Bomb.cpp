#include "things/Bomb.h"

#include "media/Images.h"
#include "menus/Settings.h"
#include "shell/Particles.h"
#include "things/AsplosionListener.h"
#include "media/Geometry.h"

#include <cstdlib>
#include <iostream>

namespace {
constexpr int solidFuse = 14;    // frames of fuse left from which the bomb blocks the Player
constexpr int sparkCount = 30;   // sparks thrown by one explosion
constexpr int lateFrames = 2;    // first frame of the fast blink of the last frames
}  // namespace

Bomb::Bomb(int x, int y) : Thing() {
    rect.x = wrap16(x);
    rect.y = wrap16(y);
    image = loadTileImage("bombanim");
}

void Bomb::addListener(AsplosionListener* listener) { listeners.push_back(listener); }

void Bomb::update(const Grid&, const ThingList&) {
    int keyCount = 0;
    const Uint8* keyState = SDL_GetKeyState(&keyCount);
    const int explodeAll = getUserKey(KeyExplodeAll);
    if (explodeAll > 0 && explodeAll < keyCount && keyState[explodeAll]) {
        fuse = 0;
        explode();
        return;
    }
    --fuse;
    if (fuse == 0) explode();
}

int Bomb::touch(Player*) { return fuse <= solidFuse ? TouchSolid : TouchNothing; }

void Bomb::draw(SDL_Surface* screen, const SDL_Rect* camera) {
    // Drawing drives the blink, so a bomb blinks once per drawn frame.
    const int oldBlink = blink;
    blink = blink == 0 ? 1 : 0;
    const int frame = fuse <= solidFuse ? lateFrames + blink : oldBlink;
    SDL_Rect source = frameRect(frame);
    drawSurface(wrap16(rect.x - camera->x), wrap16(rect.y - camera->y), image, screen, &source,
                255);
}

void Bomb::explode() {
    const int x = rect.x + rect.w / 2;
    const int y = rect.y + rect.h / 2;
    for (AsplosionListener* listener : listeners) listener->onExplosion(x, y);
    dead = true;
    for (int i = 0; i < sparkCount; ++i) {
        // Separate statements keep the three rand() calls in red, green, blue order.
        SDL_Color colour;
        colour.r = static_cast<Uint8>(128 + std::rand() % 128);
        colour.g = static_cast<Uint8>(std::rand() % 240);
        colour.b = static_cast<Uint8>(std::rand() % 128);
        colour.unused = 0;
        spawnParticle(rect.x, rect.y, colour);
    }
    std::cout << "BOOM!" << std::endl;
}

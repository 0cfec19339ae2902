#pragma once

#include "things/Thing.h"

#include <vector>

class AsplosionListener;

// A laid bomb: blinks, turns solid in its last 14 frames and explodes when
// its fuse runs out or while Explode All is held.
class Bomb final : public Thing {
public:
    // At level pixels (x, y), the Player's top-left corner.
    Bomb(int x, int y);

    void addListener(AsplosionListener* listener);
    void update(const Grid& grid, const ThingList& things) override;
    void draw(SDL_Surface* screen, const SDL_Rect* camera) override;
    int touch(Player* player) override;

    int getFuse() const { return fuse; }

private:
    void explode();

    Sint32 fuse = 60;  // frames until the explosion
    Sint32 blink = 0;  // blink phase, toggled at every draw
    std::vector<AsplosionListener*> listeners;  // not owned; told in order
};

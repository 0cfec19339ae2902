#pragma once

#include "things/Thing.h"

// A harmless decoration that turns to its second frame at the first touch.
class Crab final : public Thing {
public:
    Crab(int col, int row);
    int touch(Player* player) override;
    void draw(SDL_Surface* screen, const SDL_Rect* camera) override;

    const SDL_Rect& getFrameClip() const { return frameClip; }

private:
    SDL_Rect frameClip;  // the shown frame within the image
};

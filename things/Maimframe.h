#pragma once

#include "things/Enemy.h"

class Level;

// The big one: walks for ten seconds, waits one, leaps, shakes the screen on
// landing. Bombs do not hurt it; only the Goto form defeats it.
class Maimframe final : public Enemy {
public:
    Maimframe(int col, int row);
    void update(const Grid& grid, const ThingList& things) override;
    void draw(SDL_Surface* screen, const SDL_Rect* camera) override;
    bool blocked(const Grid& grid) const override;
    void kill() override;
    bool isVulnerable(int status, int form) const override;

    void setLevel(Level* owner) { level = owner; }

    int getState() const { return state; }
    int getWalkTime() const { return walkTime; }
    int getVx() const { return vx; }
    int getVy() const { return vy; }
    // Stages the walk for tests: frames walked and speed.
    void setWalk(int time, int speed) { walkTime = time; vx = static_cast<Sint16>(speed); }

    // The height of the drawing arc at step n of the 30-frame cycle.
    int bobOffset(int n) const;

private:
    // Moves |speed| single pixels on one axis; false when a pixel was blocked (and taken back).
    bool movePixels(const Grid& grid, int speed, bool vertical);

    Sint32 state = 0;     // 0 walking, 1 waiting, 2 jumping
    Sint32 walkTime = 0;  // frames in the current walk; drives the drawing
    Sint32 waitTime = 0;  // frames spent waiting
    Sint16 vx = 3;        // pixels per frame, sign is the direction
    Sint16 vy = 0;        // pixels per frame, positive down
    Level* level = nullptr;  // receives the screen shakes; not owned
    Sint32 jumpPower = 20;   // launch speed and width of the random sideways speed
    float gravity = 1.0f;    // added to vy every jumping frame
    Sint32 waitFrames = 30;  // length of the wait
    Sint32 walkFrames = 300; // length of a walk
    Sint32 bobPeriod = 30;   // frames of the drawing cycle
    float bobHeight = 48.0f; // pixels of the drawing arc
};

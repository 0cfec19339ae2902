#pragma once

// Anything a bomb reports its explosion to: the Level and the Player.
class AsplosionListener {
public:
    // Called once per explosion with the blast's centre in level pixels; returns 0.
    virtual int onExplosion(int x, int y) = 0;
    virtual ~AsplosionListener() = default;
};

#pragma once

// The play the check makes up: fixed runs and seeded random walks.

#include "tools/softlock/Softlock.h"

#include <random>

class Player;

namespace softlock {

// frames of a direction held (or none), with a jump every jumpEvery frames (0: none).
std::vector<FrameInput> held(int frames, bool left, bool right, int jumpEvery);

// Random play: a direction held for a while, jumps, bombs laid and set off.
class Walker {
public:
    explicit Walker(unsigned seed) : random(seed) {}
    FrameInput next(const Player& player);

private:
    bool chance(int perMille) { return static_cast<int>(random() % 1000) < perMille; }
    std::mt19937 random;
    int direction = 0;
    bool explode = false;
};

}  // namespace softlock

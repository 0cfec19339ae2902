#include "tools/softlock/Walker.h"

#include "player/Player.h"

namespace softlock {

std::vector<FrameInput> held(int frames, bool left, bool right, int jumpEvery) {
    std::vector<FrameInput> run(frames);
    for (int i = 0; i < frames; ++i) {
        run[i].left = left;
        run[i].right = right;
        run[i].jump = jumpEvery > 0 && i % jumpEvery == 0;
    }
    return run;
}

FrameInput Walker::next(const Player& player) {
    if (chance(60)) {
        const int pick = static_cast<int>(random() % 10);
        direction = pick < 5 ? 1 : pick < 8 ? -1 : 0;
    }
    if (chance(20)) explode = !explode && chance(300);
    FrameInput f;
    f.left = direction < 0;
    f.right = direction > 0;
    f.explodeAll = explode;
    f.jump = chance(80);
    f.layBomb = player.getBombs() > 0 && chance(15);
    return f;
}

}  // namespace softlock

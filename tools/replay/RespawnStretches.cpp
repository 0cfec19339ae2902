#include "tools/replay/RespawnStretches.h"

#include "level/Level.h"

void RespawnStretches::add(const Level& level, int frame) {
    const Player& hero = level.getPlayer();
    const int x = hero.getRespawnX();
    const int y = hero.getRespawnY();
    if (!started) {
        started = true;
    } else if (x != lastX || y != lastY) {
        stretchEnds(frame);
        ++moves;
    }
    lastX = x;
    lastY = y;
}

void RespawnStretches::finish(int frames) { stretchEnds(frames); }

void RespawnStretches::stretchEnds(int frame) {
    if (frame - lastMove > longestFrames) {
        longestFrames = frame - lastMove;
        longestStart = lastMove;
    }
    lastMove = frame;
}

#include "tools/softlock/WayOut.h"

#include "level/Level.h"
#include "level/Tiles.h"
#include "menus/Settings.h"

#include <cstdio>
#include <sys/types.h>
#include <unistd.h>

namespace softlock {

bool kills(int type, const Player& p) {
    const bool german = p.getStatus() == StatusGerman;
    switch (type) {
    case KindZipper:
    case KindChomper:
        return p.getStatus() != StatusFrench && !(german && p.getForm() == FormCurdo);
    case KindFlapper:
    case KindBlobber:
        return !german;
    case KindMaimframe:
        return p.getForm() != FormGoto;
    default:
        return false;
    }
}

// Where a way out may lie: the goal, cells that kill (spikes, stalactites,
// the bottom row's openings, enemies that kill the hero as it is), the cells
// known safe for a hero carrying what this one carries, and keys and bombs,
// which open new ways.
std::vector<int> wayOutField(const Level& lv) {
    // A way out is walked to as the cells stand: a cracked wall stays in the way.
    const SolidCell solid = blocksPlayer;
    const Player& p = lv.getPlayer();
    Cells targets = cellsHolding(lv, TileGoal);
    for (int v : {TileSpikes, TileStalag, TileKey})
        for (auto cell : cellsHolding(lv, v)) targets.push_back(cell);
    if (p.getStatus() == StatusTerrorist)
        for (auto cell : cellsHolding(lv, TileBomb)) targets.push_back(cell);
    const int bottom = lv.getHeight() - 1;
    for (int c = 0; c < lv.getWidth(); ++c)
        if (!solid(lv.getGrid()[c][bottom])) targets.push_back({c, bottom});
    for (const Thing* thing : lv.getThings()) {
        if (thing->isDead() || !kills(thing->getType(), p)) continue;
        const SDL_Rect* r = thing->getRect();
        targets.push_back({(r->x + tileSize / 2) / tileSize, (r->y + tileSize / 2) / tileSize});
    }
    const Key here = keyOf(lv);
    for (const Key& k : safe)
        if (k.status == here.status && k.form == here.form && k.keys == here.keys &&
            k.bombs == here.bombs && k.world == here.world)
            targets.push_back({k.col, k.row});
    return distanceField(lv, targets, solid);
}

// The way-out test every run of a probe or search makes after each frame,
// besides the goal and a death. A hero holding a bomb always has a way out:
// lay it and hold Explode All (the first probe of a state that holds one
// checks that it really kills).
bool knownWayOut(const Level& lv, bool bombCounts) {
    const Player& p = lv.getPlayer();
    if (bombCounts && p.getBombs() > 0) return true;
    return p.isGrounded() && safe.count(keyOf(lv)) > 0;
}

int WayOut::afterFrame(Level& lv) {
    return knownWayOut(lv, bombCounts) ? OutcomeReached : OutcomeAlive;
}

// The field is made again (in the state's own copy) whenever the hero's
// load or the level changes, so it leads to what counts now.
int WayOut::score(Level& lv) {
    Key now = keyOf(lv);
    now.col = now.row = 0;
    if (!(now == fieldFor) || field.empty()) {
        field = wayOutField(lv);
        fieldFor = now;
    }
    return scoreOf(lv, field);
}

bool probe(const std::vector<FrameInput>& frames, bool bombCounts) {
    int channel[2];
    if (pipe(channel) != 0) return false;
    std::fflush(nullptr);
    const pid_t child = fork();
    if (child < 0) {
        close(channel[0]);
        close(channel[1]);
        return false;
    }
    if (child == 0) {
        close(channel[0]);
        Player& player = level->getPlayer();
        const int lives = player.getLives();
        std::vector<Key> passed;
        int found = 0;
        for (const FrameInput& f : frames) {
            const int result = playFrame(*level, f);
            if (player.getLives() < lives || level->isGameOver() || result != StepNothing ||
                knownWayOut(*level, bombCounts)) {
                found = 1;
                break;
            }
            if (player.isGrounded()) {
                const Key k = keyOf(*level);
                if (passed.empty() || !(passed.back() == k)) passed.push_back(k);
            }
        }
        Message m;
        if (found) {
            for (const Key& k : passed) {
                m.kind = 1;
                m.key = k;
                if (write(channel[1], &m, sizeof m) != static_cast<ssize_t>(sizeof m)) _exit(3);
            }
        }
        m.kind = 3;
        m.verdict = found;
        if (write(channel[1], &m, sizeof m) != static_cast<ssize_t>(sizeof m)) _exit(3);
        _exit(0);
    }
    close(channel[1]);
    bool found = false;
    std::vector<Key> passed;
    Message m;
    while (read(channel[0], &m, sizeof m) == static_cast<ssize_t>(sizeof m)) {
        if (m.kind == 1) passed.push_back(m.key);
        if (m.kind == 3) {
            found = m.verdict != 0;
            break;
        }
    }
    close(channel[0]);
    if (found)
        for (const Key& k : passed) learn(k);
    return found;
}

}  // namespace softlock

#pragma once

// Ways out of a state: where they may lie, the test each run makes after
// every frame, the search rules that lead toward them, and the cheap fixed
// runs (probes) tried before a search.

#include "tools/softlock/Softlock.h"

class Player;

namespace softlock {

// Whether an enemy of this kind kills the hero as it is now.
bool kills(int type, const Player& p);

// Distances to the nearest place a way out may lie.
std::vector<int> wayOutField(const Level& lv);

// Whether the hero stands where a way out is known (or holds a bomb that counts).
bool knownWayOut(const Level& lv, bool bombCounts);

class WayOut : public SearchRules {
public:
    explicit WayOut(bool bombCounts) : bombCounts(bombCounts) {}
    int afterFrame(Level& lv) override;
    int score(Level& lv) override;

private:
    bool bombCounts;
    std::vector<int> field;
    Key fieldFor;
};

// One fixed run from the examined state, in a copy of this process; true
// when it reached a way out. The ground states it passed are learned.
bool probe(const std::vector<FrameInput>& frames, bool bombCounts);

}  // namespace softlock

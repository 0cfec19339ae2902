#include "tools/softlock/Softlock.h"

#include "level/Level.h"

#include <unistd.h>

namespace softlock {

Options options;
Level* level;
std::string levelName;
std::vector<FrameInput> solvingRun;
KeySet safe;       // a way out is known
KeySet stranded;   // reported
int toCoordinator = -1;
Clock::time_point deadline;
int reportNumber = 1;


Key keyOf(const Level& level) {
    const Player& p = level.getPlayer();
    const auto [col, row] = heroCell(level);
    return {col, row, p.getStatus(), p.getForm(), p.getKeys(), p.getBombs(), worldHash(level)};
}

Key keyOf(const SearchReport& r) {
    return {r.col, r.row, r.status, r.form, r.keys, r.bombs, r.world};
}

void tell(const Message& m) {
    const char* p = reinterpret_cast<const char*>(&m);
    if (write(toCoordinator, p, sizeof m) != static_cast<ssize_t>(sizeof m)) _exit(3);
}

void learn(const Key& key) {
    if (safe.insert(key).second) {
        Message m;
        m.kind = 1;
        m.key = key;
        tell(m);
    }
}

double secondsLeft() {
    return std::chrono::duration<double>(deadline - Clock::now()).count();
}

}  // namespace softlock

#pragma once

// What every part of the soft-lock check shares: its options, the key that
// tells one stranded state from another, the messages between the copies of
// the process, and the level being checked as every copy of it sees it.

#include "tools/solve/Search.h"

#include <chrono>
#include <cstdint>
#include <string>
#include <unordered_set>
#include <vector>

class Level;

namespace softlock {

using Clock = std::chrono::steady_clock;

struct Options {
    double seconds = 15;  // per level
    unsigned seed = 1;
    int size = 32;
    std::string replayPath;  // empty: tests/replays/NAME-SIZE.replay when it exists
    std::string outDir = ".";
    int examineLimit = 0;    // 0: as many as the time allows
    int reports = 1;         // soft-locks to find in a level before moving on
    std::string atPath;      // examine only the state this replay ends in
    bool verbose = false;    // a line per state examined
    std::vector<std::string> levels;
};

// A state as far as being stranded goes: where the hero stands and what it
// carries, in which state of the level. Only states standing on the ground
// are compared this way; sub-cell position, speed and the enemies' places
// are left out.
struct Key {
    int col = 0, row = 0, status = 0, form = 0, keys = 0, bombs = 0;
    std::uint64_t world = 0;
    bool operator==(const Key& o) const {
        return col == o.col && row == o.row && status == o.status && form == o.form &&
               keys == o.keys && bombs == o.bombs && world == o.world;
    }
};

struct KeyHash {
    std::size_t operator()(const Key& k) const {
        std::uint64_t h = k.world;
        for (int v : {k.col, k.row, k.status, k.form, k.keys, k.bombs})
            h = (h ^ static_cast<std::uint64_t>(v)) * 1099511628211ull;
        return static_cast<std::size_t>(h);
    }
};

using KeySet = std::unordered_set<Key, KeyHash>;

Key keyOf(const Level& level);
Key keyOf(const SearchReport& report);

// How an examined state was settled.
enum Verdict : int {
    Known = 0,     // standing where a way out is already known
    ByProbe = 1,   // one of the fixed runs found a way out
    BySearch = 2,  // the beam search did
    Stranded = 3,  // nothing did: a soft-lock
    Undecided = 4, // the search stopped before it saw every cell within reach
    Repeated = 5,  // a state already reported stranded
};

// What the processes of one level tell its coordinator, through one pipe.
struct Message {
    int kind = 0;  // 1: a safe state; 2: a state examined; 3: the job is done
    Key key;
    int verdict = 0;
    int fromStart = 0;  // examined on a walk from the start (else near the solving run)
};

// The level being checked, as every process of it sees it.
extern Options options;
extern Level* level;
extern std::string levelName;
extern std::vector<FrameInput> solvingRun;
extern KeySet safe;      // a way out is known
extern KeySet stranded;  // reported
extern int toCoordinator;
extern Clock::time_point deadline;
extern int reportNumber;

// Sends a message to the coordinator; a copy that cannot ends at once.
void tell(const Message& m);
// Marks a state as having a way out, and tells the coordinator the first time.
void learn(const Key& key);
double secondsLeft();

}  // namespace softlock

// curdovar-replay: plays a recorded input on a level headless and says
// whether it reached the goal (or survived, for replays that expect that).
//
//   curdovar-replay [--trace] [--stats] REPLAY
//
// --stats adds a line on what the camera showed: the share of the view that
// was wall (mean and worst frame) and the frames that looked past the grid.
//
// Exit status 0 on success, 1 when the replay fails, 2 on a usage or file error.
#include "shell/Clock.h"
#include "tools/common/Headless.h"
#include "tools/common/Replay.h"
#include "tools/replay/ViewStats.h"

#include <cstdlib>
#include <cstring>
#include <iomanip>
#include <iostream>
#include <sstream>

namespace {

constexpr Uint32 stallLimitMs = 10000;  // a hint box nobody dismisses would wait forever

const char* replayFile = "";

void onStall() {
    std::cout.flush();
    std::cerr << replayFile << ": FAILED: a hint box waits for a key the replay never gives "
                 "(add D to the run that touches the sign)\n";
    std::exit(1);
}

}  // namespace

int main(int argc, char** argv) {
    bool trace = false;
    bool stats = false;
    const char* file = nullptr;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--trace") == 0) {
            trace = true;
        } else if (std::strcmp(argv[i], "--stats") == 0) {
            stats = true;
        } else if (!file) {
            file = argv[i];
        } else {
            file = nullptr;
            break;
        }
    }
    if (!file) {
        std::cerr << "usage: curdovar-replay [--trace] [--stats] REPLAY\n";
        return 2;
    }

    Replay replay;
    std::string error;
    if (!loadReplay(file, replay, error)) {
        std::cerr << file << ": " << error << '\n';
        return 2;
    }

    SDL_Surface* screen = startHeadless(replay.tileSize);
    if (!screen) return 2;

    replayFile = file;
    setClockStallGuard(stallLimitMs, onStall);
    // The game's own progress lines would drown the verdict; keep them for --trace.
    std::streambuf* gameOutput = std::cout.rdbuf();
    std::ostringstream swallowed;
    if (!trace) std::cout.rdbuf(swallowed.rdbuf());
    ViewStats view;
    FrameObserver observer;
    if (stats) observer = [&view](Level& level) { view.add(level); };
    const ReplayOutcome outcome =
        runReplay(replay, screen, trace ? &std::cout : nullptr, observer);
    std::cout.rdbuf(gameOutput);

    std::cout << file << ": " << (outcome.success ? "ok" : "FAILED") << ": " << outcome.reason
              << " (" << outcome.framesRun << " frames, " << outcome.deaths << " deaths)\n";
    if (stats) {
        std::cout << file << ": view: wall " << std::fixed << std::setprecision(1)
                  << 100 * view.meanWallShare() << "% mean, " << 100 * view.maxWallShare()
                  << "% max; outside the grid in " << view.framesShowingOutside()
                  << " frames (max " << 100 * view.maxOutsideShare() << "%)\n";
    }
    stopHeadless();
    return outcome.success ? 0 : 1;
}

// curdovar-replay: plays a recorded input on a level headless and says
// whether it reached the goal (or survived, for replays that expect that).
//
//   curdovar-replay [--trace] [--stats] [--picture FRAME OUT.ppm]... REPLAY
//
// --stats adds a line on what the camera showed: the share of the view that
// was wall (mean and worst frame) and the frames that looked past the grid;
// and one on the respawn points: the longest stretch of the run between two
// of them (the start, the curdotrees touched, the end), which is what one
// death costs at worst.
//
// --picture writes the picture of frame FRAME (1 is the first) as a PPM file,
// to compare builds pixel for pixel; it may be given more than once. The
// replay then stops after the last frame pictured and says no verdict.
//
// Exit status 0 on success (with --picture: every picture written), 1 when
// the replay fails, 2 on a usage or file error.
#include "shell/Clock.h"
#include "tools/common/BlindJumps.h"
#include "tools/common/Headless.h"
#include "tools/common/Picture.h"
#include "tools/common/Replay.h"
#include "tools/replay/RespawnStretches.h"
#include "tools/replay/ViewStats.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <iomanip>
#include <iostream>
#include <map>
#include <sstream>
#include <vector>

namespace {

constexpr Uint32 stallLimitMs = 10000;  // a hint box nobody dismisses would wait forever

const char* replayFile = "";

void onStall() {
    std::cout.flush();
    std::cerr << replayFile << ": FAILED: a hint box waits for a key the replay never gives "
                 "(add D to the run that touches the sign)\n";
    std::exit(1);
}

// The replay cut after its first `frames` frames.
void keepFirstFrames(Replay& replay, int frames) {
    std::vector<ReplayRun> kept;
    for (ReplayRun run : replay.runs) {
        if (frames <= 0) break;
        run.frames = std::min(run.frames, frames);
        frames -= run.frames;
        kept.push_back(run);
    }
    replay.runs = kept;
}

// What the command line asked for.
struct Options {
    bool trace = false;
    bool stats = false;
    std::map<int, std::string> pictures;  // frame: where its picture goes
    const char* file = nullptr;
};

// False on a command line that is not the usage.
bool parseOptions(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--trace") == 0) {
            options.trace = true;
        } else if (std::strcmp(argv[i], "--stats") == 0) {
            options.stats = true;
        } else if (std::strcmp(argv[i], "--picture") == 0 && i + 2 < argc) {
            const int frame = std::atoi(argv[++i]);
            if (frame <= 0) return false;
            options.pictures[frame] = argv[++i];
        } else if (!options.file) {
            options.file = argv[i];
        } else {
            return false;
        }
    }
    return options.file != nullptr;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!parseOptions(argc, argv, options)) {
        std::cerr << "usage: curdovar-replay [--trace] [--stats] [--picture FRAME OUT.ppm]... "
                     "REPLAY\n";
        return 2;
    }
    const char* file = options.file;
    const bool trace = options.trace;
    const bool stats = options.stats;
    const std::map<int, std::string>& pictures = options.pictures;

    Replay replay;
    std::string error;
    if (!loadReplay(file, replay, error)) {
        std::cerr << file << ": " << error << '\n';
        return 2;
    }
    if (!pictures.empty()) keepFirstFrames(replay, pictures.rbegin()->first);

    SDL_Surface* screen = startHeadless(replay.tileSize);
    if (!screen) return 2;

    replayFile = file;
    setClockStallGuard(stallLimitMs, onStall);
    // The game's own progress lines would drown the verdict; keep them for --trace.
    std::streambuf* gameOutput = std::cout.rdbuf();
    std::ostringstream swallowed;
    if (!trace) std::cout.rdbuf(swallowed.rdbuf());
    ViewStats view;
    RespawnStretches respawns;
    BlindJumps blindJumps(replay);
    int framesPlayed = 0;
    std::vector<std::string> picturesWritten;  // what to say once the game's output is off
    const FrameObserver observer = [&](Level& level) {
        ++framesPlayed;
        if (stats) {
            view.add(level);
            respawns.add(level, framesPlayed);
            blindJumps.add(level, framesPlayed);
        }
        const auto picture = pictures.find(framesPlayed);
        if (picture != pictures.end() && writePicture(screen, picture->second)) {
            picturesWritten.push_back(picture->second + ": frame " +
                                      std::to_string(framesPlayed));
        }
    };
    const ReplayOutcome outcome =
        runReplay(replay, screen, trace ? &std::cout : nullptr, observer);
    std::cout.rdbuf(gameOutput);

    if (!pictures.empty()) {
        for (const std::string& line : picturesWritten) std::cout << line << '\n';
        const bool all = picturesWritten.size() == pictures.size();
        if (!all) std::cerr << file << ": " << pictures.size() - picturesWritten.size() << " of "
                            << pictures.size() << " pictures not written\n";
        stopHeadless();
        return all ? 0 : 1;
    }
    std::cout << file << ": " << (outcome.success ? "ok" : "FAILED") << ": " << outcome.reason
              << " (" << outcome.framesRun << " frames, " << outcome.deaths << " deaths)\n";
    if (stats) {
        std::cout << file << ": view: wall " << std::fixed << std::setprecision(1)
                  << 100 * view.meanWallShare() << "% mean, " << 100 * view.maxWallShare()
                  << "% max; outside the grid in " << view.framesShowingOutside()
                  << " frames (max " << 100 * view.maxOutsideShare() << "%)\n";
        respawns.finish(framesPlayed);
        std::cout << file << ": respawn: " << respawns.respawnPoints()
                  << " curdotrees touched; longest stretch " << respawns.longest()
                  << " frames, after frame " << respawns.longestFrom() << '\n';
        const std::vector<BlindJump> blind = blindJumps.found();
        std::cout << file << ": blind jumps: " << blind.size();
        for (const BlindJump& jump : blind) {
            std::cout << (&jump == &blind.front() ? " (" : ", ") << "frame " << jump.frame
                      << " lands at " << jump.column << ',' << jump.row;
        }
        std::cout << (blind.empty() ? "" : ")") << '\n';
    }
    stopHeadless();
    return outcome.success ? 0 : 1;
}

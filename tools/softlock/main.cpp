// curdovar-softlock: looks for states a player can get into from which a
// level can be neither finished nor lost: no way to the goal and no way to
// die. A death is an honest way out (the hero respawns, or the game ends);
// being stranded is not.
//
//   curdovar-softlock [--seconds N] [--seed S] [--tilesize T] [--replay FILE]
//                     [--out DIR] [--examine N] [--reports N] [--verbose]
//                     [--at REPLAY] LEVEL...
//
// The states examined come from seeded random play: walks from the level's
// start, and short detours from points along the level's solving run
// (tests/replays/NAME-T.replay, or --replay), with jumps, bombs laid and set
// off, keys spent, statuses and forms changed on the way. From each, a few
// fixed runs (probes) and then the beam search of Search.h look for the goal,
// a death, or a state already known to be safe. Every state on the solving
// run is known safe; so is every state on a way out found since. A state
// with no way out is printed, with a replay that leads into it from the
// level's start.
//
// Exit status 0 when no level has a soft-lock, 1 when one has, 2 on a usage
// or file error. One summary line per level.
#include "tools/softlock/CheckLevel.h"
#include "tools/softlock/Softlock.h"
#include "tools/common/Headless.h"

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <sstream>
#include <string>

using namespace softlock;

namespace {

bool parseArgs(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto next = [&]() -> std::string { return i + 1 < argc ? argv[++i] : ""; };
        if (arg == "--seconds") options.seconds = std::atof(next().c_str());
        else if (arg == "--seed") options.seed = static_cast<unsigned>(std::strtoul(next().c_str(), nullptr, 10));
        else if (arg == "--tilesize") options.size = std::atoi(next().c_str());
        else if (arg == "--replay") options.replayPath = next();
        else if (arg == "--out") options.outDir = next();
        else if (arg == "--examine") options.examineLimit = std::atoi(next().c_str());
        else if (arg == "--reports") options.reports = std::max(1, std::atoi(next().c_str()));
        else if (arg == "--verbose") options.verbose = true;
        else if (arg == "--at") options.atPath = next();
        else if (!arg.empty() && arg[0] == '-') return false;
        else options.levels.push_back(arg);
    }
    if (options.levels.empty() || options.seconds <= 0 || options.size <= 0) return false;
    return (options.replayPath.empty() && options.atPath.empty()) || options.levels.size() == 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (!parseArgs(argc, argv)) {
        std::cerr << "usage: curdovar-softlock [--seconds N] [--seed S] [--tilesize T] "
                     "[--replay FILE] [--out DIR] [--examine N] [--reports N] [--verbose] "
                     "[--at REPLAY] LEVEL...\n(--replay and --at with one level only)\n";
        return 2;
    }
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    mkdir(options.outDir.c_str(), 0755);
    SDL_Surface* screen = startSilentHeadless(options.size);
    if (!screen) return 2;
    // The game's own lines (deaths, blasts) would drown the verdicts.
    std::ostringstream swallowed;
    std::streambuf* const out = std::cout.rdbuf(swallowed.rdbuf());
    std::streambuf* const err = std::cerr.rdbuf();
    if (!options.verbose) std::cerr.rdbuf(swallowed.rdbuf());
    int worst = 0;
    for (const std::string& path : options.levels) {
        // Each level in a fresh copy, so every level starts as curdovar-replay starts it.
        std::fflush(nullptr);
        const pid_t child = fork();
        if (child == 0) _exit(checkLevel(path, screen));
        int status = 0;
        if (child < 0 || waitpid(child, &status, 0) < 0 || !WIFEXITED(status)) {
            std::printf("%s: the check crashed\n", baseName(path).c_str());
            worst = 2;
            continue;
        }
        worst = std::max(worst, WEXITSTATUS(status));
    }
    // The streams outlive this function; the swallowing buffer does not.
    std::cout.rdbuf(out);
    std::cerr.rdbuf(err);
    return worst;
}

// curdovar-difficulty: how hard a level is for people. Simulated players of
// three kinds (novice, casual, expert) play each level many times in a
// closed loop over the game's own frames, following the solving run's
// intents with human timing, and the tool reports how they fared.
//
//   curdovar-difficulty [--profile P] [--attempts N] [--seed S] [--speed PERCENT]
//                       [--json] [--map OUT.png] [--tilesize T] [--routes DIR]
//                       [--replays DIR] [--jobs N] [--solve-seconds N] [--presses]
//                       LEVEL-OR-PACK...
//
// The route is the level's run as a person plays it (ROUTES/NAME-T.replay,
// by default tests/routes: found by curdovar-solve --calm, no change of keys
// in the air), else its recorded solving run (REPLAYS/NAME-T.replay, by
// default tests/replays), else what the solver finds now.
#include "level/Level.h"
#include "level/Tiles.h"
#include "menus/Settings.h"
#include "shell/Clock.h"
#include "tools/common/LevelPack.h"
#include "tools/common/Replay.h"
#include "tools/difficulty/DeathMap.h"
#include "tools/difficulty/HumanProfile.h"
#include "tools/difficulty/LevelStudy.h"
#include "tools/solve/Search.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int slowestSpeed = 10;   // per cent
constexpr int fastestSpeed = 200;  // per cent
constexpr int deathPlacesListed = 5;

struct Options {
    std::vector<HumanProfile> profiles;
    // A limit given on the command line replaces the profiles' own; negative: keep.
    double reactionMs = -1, spreadMs = -1, holdNoise = -1, pressesPerSecond = -1;
    StudySettings study;
    bool json = false;
    bool presses = false;  // list every press of the route with its window
    bool allDeaths = false; // deaths_at lists every cell, not the few with the most
    std::string mapPath;
    int size = 32;
    std::string routes = "tests/routes";    // runs played as a person would, tried first
    std::string replays = "tests/replays";
    double solveSeconds = 120;
    std::vector<std::string> levels;
};

bool isFolder(const std::string& path) {
    struct stat info{};
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::string nameOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    if (name.size() > 4 && name.compare(name.size() - 4, 4, ".lvl") == 0) name.resize(name.size() - 4);
    return name;
}

bool parseArgs(int argc, char** argv, Options& o) {
    std::string profile = "all";
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto next = [&]() -> std::string { return i + 1 < argc ? argv[++i] : ""; };
        if (arg == "--profile") profile = next();
        else if (arg == "--attempts") o.study.attempts = std::atoi(next().c_str());
        else if (arg == "--seed") o.study.seed = std::strtoull(next().c_str(), nullptr, 10);
        else if (arg == "--speed") o.study.speedPercent = std::atoi(next().c_str());
        else if (arg == "--jobs") o.study.jobs = std::atoi(next().c_str());
        else if (arg == "--json") o.json = true;
        else if (arg == "--presses") o.presses = true;
        else if (arg == "--all-deaths") o.allDeaths = true;
        else if (arg == "--routes") o.routes = next();
        else if (arg == "--reaction-ms") o.reactionMs = std::atof(next().c_str());
        else if (arg == "--spread-ms") o.spreadMs = std::atof(next().c_str());
        else if (arg == "--hold-noise") o.holdNoise = std::atof(next().c_str());
        else if (arg == "--presses-per-second") o.pressesPerSecond = std::atof(next().c_str());
        else if (arg == "--map") o.mapPath = next();
        else if (arg == "--tilesize") o.size = std::atoi(next().c_str());
        else if (arg == "--replays") o.replays = next();
        else if (arg == "--solve-seconds") o.solveSeconds = std::atof(next().c_str());
        else if (!arg.empty() && arg[0] == '-') return false;
        else if (isFolder(arg)) {
            const LevelPack pack = readLevelPackFolder(arg);
            for (const std::string& name : pack.levels) o.levels.push_back(arg + "/" + name);
        } else o.levels.push_back(arg);
    }
    if (profile == "all") {
        o.profiles = humanProfiles();
    } else {
        HumanProfile p;
        if (!profileNamed(profile, p)) return false;
        o.profiles.push_back(p);
    }
    for (HumanProfile& p : o.profiles) {
        if (o.reactionMs >= 0) p.reactionMs = o.reactionMs;
        if (o.spreadMs >= 0) p.pressSpreadMs = o.spreadMs;
        if (o.holdNoise >= 0) p.holdNoise = o.holdNoise;
        if (o.pressesPerSecond >= 0) p.pressesPerSecond = o.pressesPerSecond;
    }
    return !o.levels.empty() && o.study.attempts > 0 && o.study.jobs > 0 &&
           o.study.speedPercent >= slowestSpeed && o.study.speedPercent <= fastestSpeed &&
           (o.size == 16 || o.size == 32);
}

// Toward the goal by walking distance, for a level without a recorded run.
class TowardGoal : public SearchRules {
public:
    explicit TowardGoal(const Level& level)
        : field(distanceField(level, cellsHolding(level, TileGoal), blocksForGood)) {}
    int afterFrame(Level&) override { return OutcomeAlive; }
    int score(Level& level) override { return scoreOf(level, field); }

private:
    std::vector<int> field;
};

// The level's solving run: recorded, or searched for now. Empty when there is none.
std::vector<FrameInput> solvingRun(const Options& o, const std::string& path, SDL_Surface* screen,
                                   std::string& source) {
    const std::string file = "/" + nameOf(path) + "-" + std::to_string(o.size) + ".replay";
    for (const std::string& folder : {o.routes, o.replays}) {
        Replay replay;
        std::string error;
        if (access((folder + file).c_str(), R_OK) == 0 && loadReplay(folder + file, replay, error)) {
            source = folder + file;
            return framesOf(replay);
        }
    }
    source = "the solver";
    useManualClock(0);
    Level level(levelNumberOf(path), screen);
    if (!level.load(path) || cellsHolding(level, TileGoal).empty()) return {};
    SearchSettings search;
    search.seconds = o.solveSeconds;
    search.jobs = o.study.jobs;
    search.staleRounds = 60;  // a level without a way gives up once every reachable cell is seen
    TowardGoal rules(level);
    // A person's moves first (no change of keys in the air); any moves when
    // those find no way.
    SearchResult found = runSearch(level, calmActions(true, true), search, rules);
    if (!found.found) found = runSearch(level, searchActions(true, true), search, rules);
    // The search lets its copies go unwaited; the study waits for its own.
    std::signal(SIGCHLD, SIG_DFL);
    return found.found ? found.frames : std::vector<FrameInput>{};
}

std::string mapFor(const Options& o, const std::string& level, const std::string& profile) {
    std::string path = o.mapPath;
    std::string suffix;
    if (o.levels.size() > 1) suffix += "-" + level;
    if (o.profiles.size() > 1) suffix += "-" + profile;
    const std::size_t dot = path.find_last_of('.');
    const std::size_t slash = path.find_last_of('/');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return path + suffix;
    return path.substr(0, dot) + suffix + path.substr(dot);
}

void report(const Options& o, const std::string& level, const ProfileFigures& f,
            const TightestPress& t, bool routed, int routeFrames, int waysBack) {
    // The cells with the most of something, most first.
    auto most = [](const std::map<std::pair<int, int>, int>& cells, std::size_t limit) {
        std::vector<std::pair<int, std::pair<int, int>>> places;
        for (const auto& [cell, count] : cells) places.push_back({-count, cell});
        std::sort(places.begin(), places.end());
        if (places.size() > limit) places.resize(limit);
        return places;
    };
    const auto places = most(f.deathCells, o.allDeaths ? f.deathCells.size() : deathPlacesListed);
    const auto stops = most(f.stuckCells, deathPlacesListed);
    if (o.json) {
        std::ostringstream j;
        j << "{\"level\": \"" << level << "\", \"profile\": \"" << f.profile
          << "\", \"attempts\": " << f.attempts << ", \"speed\": " << o.study.speedPercent
          << ", \"seed\": " << o.study.seed << ", \"route\": " << (routed ? "true" : "false")
          << ", \"route_frames\": " << routeFrames << ", \"ways_back\": " << waysBack
          << ", \"goal_one_life\": " << f.goalOneLife
          << ", \"deaths_to_finish\": ";
        if (routed) j << f.deathsToFinish; else j << "null";
        j << ", \"finished\": " << f.finished << ", \"stuck\": " << f.stuck
          << ", \"tightest_press_frames\": ";
        if (t.known) {
            j << t.frames() << ", \"tightest_press\": {\"early\": " << t.early << ", \"late\": "
              << t.late << ", \"col\": " << t.col << ", \"row\": " << t.row << "}";
        } else {
            j << "null";
        }
        j << ", \"deaths_at\": [";
        for (std::size_t i = 0; i < places.size(); ++i)
            j << (i ? ", " : "") << "{\"col\": " << places[i].second.first << ", \"row\": "
              << places[i].second.second << ", \"deaths\": " << -places[i].first << "}";
        j << "], \"gave_up_at\": [";
        for (std::size_t i = 0; i < stops.size(); ++i)
            j << (i ? ", " : "") << "{\"col\": " << stops[i].second.first << ", \"row\": "
              << stops[i].second.second << ", \"attempts\": " << -stops[i].first << "}";
        j << "]}\n";
        std::fputs(j.str().c_str(), stdout);
    } else if (!routed) {
        std::printf("%-10s %-7s no route to the goal: nobody finishes\n", level.c_str(), f.profile.c_str());
    } else {
        // Attempts that gave up count the deaths they had: then the mean is only a floor.
        std::printf("%-10s %-7s goal in one life %5.1f %%  deaths to finish %s%5.2f  finished %5.1f %%",
                    level.c_str(), f.profile.c_str(), 100 * f.goalOneLife,
                    f.finished < 1 ? ">=" : "", f.deathsToFinish, 100 * f.finished);
        if (f.stuck > 0) std::printf(" (%.0f %% gave up stuck)", 100 * f.stuck);
        if (t.known)
            std::printf("  tightest press %d (%d early, %d late, at %d,%d)", t.frames(), t.early,
                        t.late, t.col, t.row);
        if (!places.empty()) {
            std::printf("  most deaths at");
            for (const auto& p : places) std::printf(" %d,%d (%d)", p.second.first, p.second.second, -p.first);
        }
        if (!stops.empty()) {
            std::printf("  gave up at");
            for (const auto& p : stops) std::printf(" %d,%d (%d)", p.second.first, p.second.second, -p.first);
        }
        std::printf("\n");
    }
    std::fflush(stdout);
}

void listPresses(const std::string& level, const LevelStudy& study) {
    for (const PressWindow& w : study.pressWindows())
        std::printf("%-10s   %-4s at %3d,%-3d frame %4d: aimed %+3d, may come %d early, %d late\n", level.c_str(),
                    w.jump ? "jump" : "keys", w.col, w.row, w.frame, w.aim, w.early, w.late);
    std::fflush(stdout);
}

int studyLevel(const Options& o, const std::string& path, SDL_Surface* screen) {
    const std::string name = nameOf(path);
    {
        useManualClock(0);
        Level level(levelNumberOf(path), screen);
        if (!level.load(path)) {
            std::fprintf(stderr, "%s: cannot load %s\n", name.c_str(), path.c_str());
            return 2;
        }
    }
    std::string source;
    const std::vector<FrameInput> frames = solvingRun(o, path, screen, source);
    LevelStudy study(path, screen, o.study);
    const bool routed = !frames.empty() && study.learnRoute(frames);
    if (!frames.empty() && !routed)
        std::fprintf(stderr, "%s: the run from %s does not reach the goal\n", name.c_str(), source.c_str());
    const TightestPress tightest = routed ? study.probePresses() : TightestPress();
    for (const HumanProfile& profile : o.profiles) {
        ProfileFigures figures;
        figures.profile = profile.name;
        figures.attempts = o.study.attempts;
        if (routed) figures = study.run(profile);
        report(o, name, figures, tightest, routed, routed ? study.route().frames() : 0,
               static_cast<int>(study.respawnRoutes().size()));
        if (o.presses && !o.json && &profile == &o.profiles.back()) listPresses(name, study);
        if (o.mapPath.empty()) continue;
        useManualClock(0);
        Level level(levelNumberOf(path), screen);
        if (!level.load(path)) return 2;
        DeathMap map(level, study.route());
        map.markDeaths(figures);
        if (!map.save(mapFor(o, name, profile.name))) return 2;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!parseArgs(argc, argv, options)) {
        std::cerr << "usage: curdovar-difficulty [--profile novice|casual|expert|flawless] "
                     "[--attempts N] [--seed S] [--speed PERCENT] [--json] [--map OUT.png] "
                     "[--tilesize 32|16] [--routes DIR] [--replays DIR] [--jobs N] "
                     "[--solve-seconds N] [--presses] LEVEL-OR-PACK...\n";
        return 2;
    }
    SDL_Surface* screen = startSilentHeadless(options.size);
    if (!screen) return 2;
    tileSize = options.size;
    // The game's own lines (deaths, blasts) would drown the figures.
    std::ostringstream swallowed;
    std::streambuf* const out = std::cout.rdbuf(swallowed.rdbuf());
    std::streambuf* const err = std::cerr.rdbuf(swallowed.rdbuf());
    int worst = 0;
    for (const std::string& path : options.levels) {
        // Each level in a fresh copy, so it starts as curdovar-replay starts it.
        std::fflush(nullptr);
        const pid_t child = fork();
        if (child == 0) _exit(studyLevel(options, path, screen));
        int status = 0;
        if (child < 0 || waitpid(child, &status, 0) < 0 || !WIFEXITED(status)) {
            std::fprintf(stderr, "%s: the study crashed\n", nameOf(path).c_str());
            worst = 2;
            continue;
        }
        worst = std::max(worst, WEXITSTATUS(status));
    }
    std::cout.rdbuf(out);
    std::cerr.rdbuf(err);
    return worst;
}

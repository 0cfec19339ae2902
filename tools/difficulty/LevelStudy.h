#pragma once

#include "tools/common/FrameInput.h"
#include "tools/difficulty/HumanProfile.h"
#include "tools/difficulty/Route.h"

#include <SDL.h>

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

// What many simulated people of one profile did in one level.
struct ProfileFigures {
    std::string profile;
    int attempts = 0;
    double goalOneLife = 0;    // share that reached the goal without a death
    double deathsToFinish = 0; // mean deaths until the goal (unfinished goes counted as it ended)
    double finished = 0;       // share that reached the goal at all
    double stuck = 0;          // share that gave up without progress
    std::map<std::pair<int, int>, int> deathCells;  // deaths per cell, over all attempts
    std::map<std::pair<int, int>, int> stuckCells;  // attempts given up per cell
};

// The hardest press of the route: how many frames earlier and later than
// its aimed moment (the middle of the moments that get through, all else
// played flawlessly) it may come with the hero getting through.
struct TightestPress {
    bool known = false;
    int early = 0, late = 0;
    int col = 0, row = 0;  // where the hero stands when it is pressed
    int frames() const { return early < late ? early : late; }
};

// One press of the route as probed: where, and how far off it may come.
struct PressWindow {
    int frame = 0;         // its route frame
    int col = 0, row = 0;  // where the hero stands when it is pressed
    bool jump = false;
    int aim = 0;           // frames after the route's own moment it is aimed at
    int early = 0, late = 0;
};

struct StudySettings {
    int attempts = 100;
    std::uint64_t seed = 1;
    int speedPercent = 100;
    int jobs = 2;        // attempts played at once
    int maxDeaths = 30;  // an attempt gives up after this many deaths
};

// One level studied: its route, then attempts by each profile, each in a
// fresh copy of this process so that every attempt starts alike and the
// numbers depend on the seed alone.
class LevelStudy {
public:
    LevelStudy(const std::string& levelPath, SDL_Surface* screen, const StudySettings& settings)
        : path(levelPath), screen(screen), settings(settings) {}

    // Learns the route from the solving run, with the wiggles a person would
    // not make taken out; false when it does not reach the goal.
    bool learnRoute(const std::vector<FrameInput>& frames);
    const Route& route() const { return learned; }
    // The ways back from each curdotree the route touches (the start's is
    // the route itself).
    const std::vector<RespawnRoute>& respawnRoutes() const { return respawns; }

    ProfileFigures run(const HumanProfile& profile);
    // Probes every press of the route one at a time, aims each at the
    // middle of its window and returns the tightest.
    TightestPress probePresses();
    // Every press probed, in route order.
    const std::vector<PressWindow>& pressWindows() const { return windows; }

private:
    // A freshly loaded level, or null.
    Level* freshLevel() const;
    // Whether frames take a fresh copy of the level to the goal without a death.
    bool reachesGoal(const std::vector<FrameInput>& frames) const;
    // The run with every change of keys it can do without left out.
    std::vector<FrameInput> simplify(std::vector<FrameInput> frames) const;
    // Lines "intent aim early late", one per press of a practised flawless
    // play: where it aims each press and the frames it may be off either way.
    std::string probeWindows();
    // In a copy of the process: at each curdotree the route touches, the
    // hero dies, and a search finds it a way from standing there back onto
    // the route. Each one as "x y joins joinsAt" and its route.
    std::string findRespawnRoutes() const;

    std::string path;
    SDL_Surface* screen;
    StudySettings settings;
    Route learned;
    std::vector<RespawnRoute> respawns;
    std::vector<PressWindow> windows;
};

// The seed of one attempt: the same for the same study seed, level, profile
// and attempt number, whatever else runs.
std::uint64_t attemptSeed(std::uint64_t seed, const std::string& level,
                          const std::string& profile, int attempt);

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
};

// The hardest press of the route: how many frames earlier and later than
// the route's moment it may come with the hero getting through, all else
// played flawlessly. Aimed at the middle of that window, it may be off by
// frames() either way.
struct TightestPress {
    bool known = false;
    int early = 0, late = 0;
    int col = 0, row = 0;  // where the hero stands when it is pressed
    int frames() const { return (early + late) / 2; }
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

    ProfileFigures run(const HumanProfile& profile);
    // Probes every press of the route one at a time, aims each at the
    // middle of its window and returns the tightest.
    TightestPress probePresses();

private:
    // A freshly loaded level, or null.
    Level* freshLevel() const;
    // Whether frames take a fresh copy of the level to the goal without a death.
    bool reachesGoal(const std::vector<FrameInput>& frames) const;
    // The run with every change of keys it can do without left out.
    std::vector<FrameInput> simplify(std::vector<FrameInput> frames) const;
    // The frame of each intent's press when played flawlessly; empty when
    // that play does not reach the goal cleanly.
    std::vector<int> pressMoments() const;
    // Lines "intent early late": the frames each press may come earlier and later.
    std::string probeWindows(const std::vector<int>& pressed) const;

    std::string path;
    SDL_Surface* screen;
    StudySettings settings;
    Route learned;
};

// The seed of one attempt: the same for the same study seed, level, profile
// and attempt number, whatever else runs.
std::uint64_t attemptSeed(std::uint64_t seed, const std::string& level,
                          const std::string& profile, int attempt);

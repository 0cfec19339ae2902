#pragma once

// The search both level tools run: curdovar-solve looks for a way to the
// goal, curdovar-softlock for any way out (the goal or a death) from states
// a player could get into.
//
// A beam search over short runs of input. Each kept state is a paused copy
// of the calling process made with fork, so a candidate costs only its own
// frames, never a replay from the start; the caller's own Level is never
// touched, so it can search again from the same state or play on.

#include "level/Level.h"
#include "tools/common/FrameInput.h"
#include "tools/common/Replay.h"

#include <SDL.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <ostream>
#include <string>
#include <sys/types.h>
#include <utility>
#include <vector>

// SDL on its dummy video driver with SDL_image and SDL_ttf, and a 20 by 15
// tile screen; no audio, whose thread a forked copy would not have. Null,
// with a line on standard error, when SDL cannot start.
SDL_Surface* startSilentHeadless(int tileEdge);

// One frame as curdovar-replay plays it; returns the step result.
int playFrame(Level& level, const FrameInput& input);

// One decision of the search: keys held for the search's step, or, with
// land, from a jump (after runUp frames of running) until the hero stands
// again.
struct SearchAction {
    char dir = '-';  // '-', 'L' or 'R'
    bool jump = false;
    bool bomb = false;
    bool explode = false;
    bool land = false;
    int runUp = 0;
    bool onward = false;  // only when the hero is not running the other way
    int holdFor = 0;      // with land: frames the way is held from the jump on; 0: until landed
};

// Walk, stand or jump both ways; with bombs, lay one; with explode, hold
// Explode All; with landing, also jump, and jump from a run, both ways and
// hold on until landed.
std::vector<SearchAction> searchActions(bool bombs, bool explode, bool landing = false);
// As a person plays: walk or stand, and jump holding one way until landed,
// never changing keys in the air.
std::vector<SearchAction> calmActions(bool bombs, bool explode);

// A hash of everything the hero can change in a level that may open or
// close a way: the grid and which objects are still there (not where the
// enemies walk; not what only decorates or counts lives).
std::uint64_t worldHash(const Level& level);

// The grid cell of the hero's centre, clamped to the grid.
std::pair<int, int> heroCell(const Level& level);

constexpr int unreachable = 1 << 16;  // distance of a cell no target can be walked to from

using Cells = std::vector<std::pair<int, int>>;
using SolidCell = std::function<bool(int value)>;

Cells cellsHolding(const Level& level, int value);

// Walking distance in cells from every cell (index col * height + row) to the
// nearest target, through anything the solid test lets pass; portals, read
// from the level file, lead to their targets.
std::vector<int> distanceField(const Level& level, const Cells& targets, const SolidCell& solid);

// The distance of the hero to the field's targets in pixels, less the way it
// has already made inside its cell toward the neighbour that leads on.
int scoreOf(const Level& level, const std::vector<int>& field);

// What a state tells the search. Sent whole through a pipe, so it stays far
// below PIPE_BUF and arrives in one piece.
enum SearchOutcome : int {
    OutcomeAlive = 0,
    OutcomeGoal = 1,
    OutcomeDied = 2,     // lost a life or the game
    OutcomeReached = 3,  // the rules' own target (a waypoint, a known safe state)
    OutcomeMenu = 4,     // walked into the options or controls object
    OutcomeRefused = 5,  // a move the action may not make from this state
};

struct SearchReport {
    int kind = 0;  // 1: a state; 2: a node says how many children it made
    pid_t pid = 0;
    pid_t parent = 0;
    int action = 0;
    int children = 0;
    int x = 0, y = 0;
    float vx = 0, vy = 0;
    int grounded = 0, status = 0, form = 0, keys = 0, bombs = 0, lives = 0, things = 0;
    int col = 0, row = 0;
    std::uint64_t world = 0;
    int phase = 0;  // the rules' progress (the solver's waypoint)
    int frames = 0; // frames the decision took
    int score = 0;
    int outcome = OutcomeAlive;
};

SearchReport describe(const Level& level);

// What one search looks for. The first three run inside the states' copies.
class SearchRules {
public:
    virtual ~SearchRules() = default;
    // After every frame a state plays: OutcomeReached ends the search there.
    virtual int afterFrame(Level& level) = 0;
    // Lower is better.
    virtual int score(Level& level) = 0;
    virtual int phase() const { return 0; }
};

struct SearchSettings {
    int beam = 40;
    int step = 4;        // frames a decision is held
    int rounds = 1500;
    int jobs = 2;        // states expanded at once
    int perCell = 4;     // states kept in one cell
    double seconds = 900;
    bool deathEnds = false;  // a death is what we look for (else it is thrown away)
    bool menuEnds = false;   // so is walking into the menu objects
    // Rank states that reach a cell not seen before (with the same status,
    // form, keys, bombs and world) first, and give up after this many rounds
    // without such a state; 0: rank by score alone, never give up early.
    int staleRounds = 0;
    bool progress = false;  // a line on standard error now and then
};

struct SearchResult {
    bool found = false;
    int outcome = OutcomeAlive;
    std::vector<int> history;         // decisions from the start state
    std::vector<SearchReport> path;   // the state after each decision
    std::vector<FrameInput> frames;   // the input of the whole way
    int rounds = 0;
    long states = 0;                  // states reported
    std::string ended;                // why it stopped when nothing was found
    int bestScore = 1 << 30;
};

// Why a search with novelty ends when every cell within its reach is seen.
extern const char* const exhausted;

SearchResult runSearch(Level& level, const std::vector<SearchAction>& actions,
                       const SearchSettings& settings, SearchRules& rules);

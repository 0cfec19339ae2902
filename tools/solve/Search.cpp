#include "tools/solve/Search.h"

#include "level/Tiles.h"
#include "things/Portal.h"
#include "menus/Settings.h"
#include "shell/Frame.h"
#include "tools/common/Headless.h"

#include <SDL_image.h>
#include <SDL_ttf.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <iostream>
#include <map>
#include <set>
#include <tuple>
#include <poll.h>
#include <sys/prctl.h>
#include <unistd.h>

namespace {

constexpr SDLKey dismissKey = SDLK_SPACE;  // the key curdovar-replay dismisses a hint with
constexpr int silentStateMs = 30000;       // a state this long without a word has crashed

}  // namespace

SDL_Surface* startSilentHeadless(int tileEdge) {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    if (SDL_Init(SDL_INIT_TIMER | SDL_INIT_VIDEO) < 0 || TTF_Init() < 0) {
        std::cerr << "SDL failed to start: " << SDL_GetError() << '\n';
        return nullptr;
    }
    IMG_Init(IMG_INIT_PNG);
    SDL_Surface* screen = SDL_SetVideoMode(windowColumns * tileEdge, windowRows * tileEdge, 32, 0);
    if (!screen) std::cerr << "no video surface: " << SDL_GetError() << '\n';
    return screen;
}

// The game's own frame, drawn without painting so play stays in step with
// a painted frame.
int playFrame(Level& level, const FrameInput& input) {
    giveInput(input);
    FrameHooks hooks;
    hooks.picture = false;
    if (input.dismiss) hooks.beforeStep = [] { pressKey(dismissKey); };
    Level* current = &level;
    return playFrame(current, SDL_GetVideoSurface(), nullptr, hooks).step;
}

namespace {

constexpr int landingLimit = 60;           // frames a landing decision waits after its jump at most
constexpr int runUpFrames = 20;            // nearly top speed: the longest jumps
constexpr int hopHoldFrames[] = {4, 10};   // a hop holds its way this long
constexpr float turnSpeed = 1.0f;          // pixels per frame: slower, a jump may go either way

}  // namespace

std::vector<SearchAction> searchActions(bool bombs, bool explode, bool landing) {
    std::vector<SearchAction> actions;
    for (char dir : {'R', 'L', '-'}) {
        for (bool jump : {false, true}) actions.push_back({dir, jump, false, false, false, 0});
        if (landing) actions.push_back({dir, true, false, false, true, 0});
        if (landing && dir != '-') actions.push_back({dir, true, false, false, true, runUpFrames});
        if (bombs) actions.push_back({dir, false, true, false, false, 0});
        if (explode) actions.push_back({dir, false, false, true, false, 0});
    }
    return actions;
}

std::vector<SearchAction> calmActions(bool bombs, bool explode) {
    std::vector<SearchAction> actions;
    for (char dir : {'R', 'L', '-'}) {
        actions.push_back({dir, false, false, false, false, 0});
        actions.push_back({dir, true, false, false, true, 0, true});
        if (dir != '-') {
            actions.push_back({dir, true, false, false, true, runUpFrames, true});
            // Hops: the way let go of early, for a short jump onto a ledge.
            for (int hold : hopHoldFrames) actions.push_back({dir, true, false, false, true, 0, true, hold});
        }
        if (bombs) actions.push_back({dir, false, true, false, false, 0});
        if (explode) actions.push_back({dir, false, false, true, false, 0});
    }
    return actions;
}

namespace {

FrameInput inputOf(const SearchAction& a, int frame) {
    FrameInput f;
    const bool held = !a.land || a.holdFor == 0 || frame < a.runUp + a.holdFor;
    f.left = held && a.dir == 'L';
    f.right = held && a.dir == 'R';
    f.explodeAll = a.explode;
    f.jump = frame == a.runUp && a.jump;
    f.layBomb = frame == 0 && a.bomb;
    return f;
}

}  // namespace

std::uint64_t worldHash(const Level& level) {
    std::uint64_t h = 1469598103934665603ull;
    auto mix = [&h](std::uint64_t v) {
        h ^= v;
        h *= 1099511628211ull;
    };
    // What only decorates or counts lives (the alphorn, curdotrees, milk,
    // signs, crabs) leaves the ways through a level as they were.
    for (const auto& column : level.getGrid())
        for (int v : column) mix(v == TileAlphorn || v == TileCurdotree || v == TileCurdotreeSprouted ? 0 : static_cast<std::uint64_t>(v));
    mix(0xfeedull);
    for (const Thing* thing : level.getThings()) {
        const int type = thing->getType();
        if (thing->isDead() || type == KindHint || type == KindMilk || type == KindCrab) continue;
        mix(static_cast<std::uint64_t>(type) + 1);
    }
    return h;
}

namespace {

int cellOf(int pixel) { return pixel >= 0 ? pixel / tileSize : -1; }

}  // namespace

std::pair<int, int> heroCell(const Level& level) {
    const SDL_Rect* box = level.getPlayer().getRect();
    const int col = std::clamp(cellOf(box->x + tileSize / 2), 0, level.getWidth() - 1);
    const int row = std::clamp(cellOf(box->y + tileSize / 2), 0, level.getHeight() - 1);
    return {col, row};
}

Cells cellsHolding(const Level& level, int value) {
    Cells cells;
    for (int c = 0; c < level.getWidth(); ++c)
        for (int r = 0; r < level.getHeight(); ++r)
            if (level.getGrid()[c][r] == value) cells.push_back({c, r});
    return cells;
}

namespace {

// Spreads the distances outward from every cell whose distance is set.
void spread(const Level& level, std::vector<int>& dist, std::deque<int> queue,
            const SolidCell& solid) {
    const int w = level.getWidth(), h = level.getHeight();
    const Grid& grid = level.getGrid();
    const int dc[4] = {1, -1, 0, 0}, dr[4] = {0, 0, 1, -1};
    while (!queue.empty()) {
        const int cell = queue.front();
        queue.pop_front();
        const int c = cell / h, r = cell % h;
        for (int k = 0; k < 4; ++k) {
            const int nc = c + dc[k], nr = r + dr[k];
            if (nc < 0 || nr < 0 || nc >= w || nr >= h || solid(grid[nc][nr])) continue;
            if (dist[nc * h + nr] > dist[cell] + 1) {
                dist[nc * h + nr] = dist[cell] + 1;
                queue.push_back(nc * h + nr);
            }
        }
    }
}

// The level's portals as the game built them: column, row, target column, target row.
std::vector<std::array<int, 4>> portalsOf(const Level& level) {
    std::vector<std::array<int, 4>> portals;
    for (const Thing* thing : level.getThings()) {
        if (thing->getType() != KindPortal) continue;
        const Portal* portal = static_cast<const Portal*>(thing);
        const SDL_Rect* at = portal->getRect();
        // Positions are 16-bit pixels: a far target has wrapped where the hero really lands.
        portals.push_back({at->x / tileSize, at->y / tileSize,
                           portal->getTargetX() / tileSize, portal->getTargetY() / tileSize});
    }
    return portals;
}

}  // namespace

std::vector<int> distanceField(const Level& level, const Cells& targets, const SolidCell& solid) {
    const int w = level.getWidth(), h = level.getHeight();
    std::vector<int> dist(w * h, unreachable);
    std::deque<int> queue;
    for (auto [c, r] : targets) {
        if (c < 0 || r < 0 || c >= w || r >= h) continue;
        dist[c * h + r] = 0;
        queue.push_back(c * h + r);
    }
    spread(level, dist, queue, solid);
    // A portal cell is as far as its target; spread each shortcut found.
    const auto portals = portalsOf(level);
    for (int pass = 0; pass < 50; ++pass) {
        std::deque<int> changed;
        for (const auto& p : portals) {
            if (p[0] < 0 || p[1] < 0 || p[0] >= w || p[1] >= h) continue;
            if (p[2] < 0 || p[3] < 0 || p[2] >= w || p[3] >= h) continue;
            const int via = dist[p[2] * h + p[3]] + 1;
            if (via < dist[p[0] * h + p[1]]) {
                dist[p[0] * h + p[1]] = via;
                changed.push_back(p[0] * h + p[1]);
            }
        }
        if (changed.empty()) break;
        spread(level, dist, changed, solid);
    }
    return dist;
}

int scoreOf(const Level& level, const std::vector<int>& field) {
    const SDL_Rect* box = level.getPlayer().getRect();
    const int w = level.getWidth(), h = level.getHeight();
    const auto [col, row] = heroCell(level);
    const int d = field[col * h + row];
    const int centreX = box->x + tileSize / 2 - (col * tileSize + tileSize / 2);
    const int centreY = box->y + tileSize / 2 - (row * tileSize + tileSize / 2);
    int credit = 0;
    const int dc[4] = {1, -1, 0, 0}, dr[4] = {0, 0, 1, -1};
    int nearest = d;
    for (int k = 0; k < 4; ++k) {
        const int nc = col + dc[k], nr = row + dr[k];
        if (nc < 0 || nr < 0 || nc >= w || nr >= h || field[nc * h + nr] >= nearest) continue;
        nearest = field[nc * h + nr];
        credit = dc[k] * centreX + dr[k] * centreY;
    }
    return d * tileSize - credit;
}

SearchReport describe(const Level& level) {
    const Player& player = level.getPlayer();
    const SDL_Rect* box = player.getRect();
    SearchReport r;
    r.kind = 1;
    r.pid = getpid();
    r.x = box->x;
    r.y = box->y;
    r.vx = player.getVx();
    r.vy = player.getVy();
    r.grounded = player.isGrounded();
    r.status = player.getStatus();
    r.form = player.getForm();
    r.keys = player.getKeys();
    r.bombs = player.getBombs();
    r.lives = player.getLives();
    r.things = static_cast<int>(level.getThings().size());
    const auto [col, row] = heroCell(level);
    r.col = col;
    r.row = row;
    r.world = worldHash(level);
    return r;
}

namespace {

// What the copies of one search share; set before the first copy is made.
struct Context {
    Level* level = nullptr;
    const std::vector<SearchAction>* actions = nullptr;
    const SearchSettings* settings = nullptr;
    SearchRules* rules = nullptr;
    int reportPipe[2] = {-1, -1};
    int lifeline[2] = {-1, -1};  // the coordinator holds the only write end
};

Context context;

void send(const SearchReport& r) {
    const char* p = reinterpret_cast<const char*>(&r);
    if (write(context.reportPipe[1], p, sizeof r) != static_cast<ssize_t>(sizeof r)) _exit(3);
}

// Plays one decision in a state's copy; the outcome, and in played the frames it took.
int playAction(const SearchAction& a, int& played) {
    Level& level = *context.level;
    Player& player = level.getPlayer();
    const int lives = player.getLives();
    const int limit = a.land ? a.runUp + landingLimit : context.settings->step;
    for (int i = 0; i < limit; ++i) {
        // Nobody jumps one way out of a run the other way: a person turns first.
        const float against = a.dir == 'L' ? player.getVx() : a.dir == 'R' ? -player.getVx() : 0;
        if (a.onward && i == a.runUp && against > turnSpeed) return OutcomeRefused;
        // Nor from a wall while sliding down it: that counts as ground, but
        // a person jumps from a floor.
        if (a.onward && a.jump && i == a.runUp && player.getVy() > 0) return OutcomeRefused;
        const int result = playFrame(level, inputOf(a, i));
        ++played;
        if (player.getLives() < lives || level.isGameOver()) return OutcomeDied;
        const int reached = context.rules->afterFrame(level);
        if (result == StepLevelDone) return OutcomeGoal;
        if (reached == OutcomeReached) return OutcomeReached;
        if (context.settings->menuEnds &&
            (result == StepOpenOptions || result == StepOpenControls ||
             result == StepContinue))
            return OutcomeMenu;
        if (a.land && i > a.runUp && player.isGrounded()) break;
    }
    return OutcomeAlive;
}

bool bombLaid(const Level& level) {
    for (const Thing* thing : level.getThings())
        if (thing->getType() == 0 && !thing->isDead()) return true;
    return false;
}

// A paused state: waits to be expanded or killed; gives up once the
// coordinator has let go of the lifeline.
[[noreturn]] void waitAsState() {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGUSR1);
    timespec second{1, 0};
    for (;;) {
        const int sig = sigtimedwait(&set, nullptr, &second);
        if (sig == SIGUSR1) break;
        pollfd line{context.lifeline[0], POLLIN, 0};
        if (poll(&line, 1, 0) != 0) _exit(0);
    }
    // Expand: one child per sensible action, then this copy is no longer needed.
    Level& level = *context.level;
    Player& player = level.getPlayer();
    const std::vector<SearchAction>& actions = *context.actions;
    std::vector<int> chosen;
    for (int i = 0; i < static_cast<int>(actions.size()); ++i) {
        const SearchAction& a = actions[i];
        if (a.jump && !player.isGrounded() && player.getStatus() == StatusNormal) continue;
        if (a.bomb && player.getBombs() == 0) continue;
        if (a.explode && !bombLaid(level)) continue;
        chosen.push_back(i);
    }
    int made = 0;
    const pid_t parent = getpid();
    for (int index : chosen) {
        const pid_t child = fork();
        if (child < 0) break;
        if (child == 0) {
            int played = 0;
            const int outcome = playAction(actions[index], played);
            SearchReport r = describe(level);
            r.frames = played;
            r.parent = parent;
            r.action = index;
            r.outcome = outcome;
            r.score = context.rules->score(level);
            r.phase = context.rules->phase();
            send(r);
            if (outcome != OutcomeAlive) _exit(0);
            waitAsState();
        }
        ++made;
    }
    SearchReport finished;
    finished.kind = 2;
    finished.pid = getpid();
    finished.children = made;
    send(finished);
    _exit(0);
}

bool ends(const SearchReport& r, const SearchSettings& s) {
    switch (r.outcome) {
    case OutcomeGoal:
    case OutcomeReached: return true;
    case OutcomeDied: return s.deathEnds;
    case OutcomeMenu: return s.menuEnds;
    default: return false;
    }
}

// Two states this alike are treated as one; the better-ranked one stays.
using Likeness = std::tuple<int, int, int, int, int, int, int, int, int, int, std::uint64_t>;
Likeness likeness(const SearchReport& r) {
    const int half = std::max(1, tileSize / 2);
    return {r.x / half, r.y / half, r.grounded, r.status, r.form, r.keys, r.bombs,
            r.vx > 0.5f ? 1 : r.vx < -0.5f ? -1 : 0, r.vy < -0.5f ? -1 : r.vy > 0.5f ? 1 : 0,
            r.phase, r.world};
}

using CellKey = std::tuple<int, int, int, int, int, int, int, std::uint64_t>;
CellKey cellKey(const SearchReport& r) {
    return {r.col, r.row, r.phase, r.status, r.form, r.keys, r.bombs, r.world};
}

struct Node {
    int parent = -1;  // index into the nodes, -1 for the start
    SearchReport report;
};


// One beam search over copies of the process: each kept state is a stopped
// child that expands when told (SIGUSR1) and reports its own children.
class BeamSearch {
public:
    BeamSearch(const std::vector<SearchAction>& actions, const SearchSettings& settings)
        : actions(actions), settings(settings) {}
    SearchResult run();

private:
    bool start();
    // The reports of one round's children into states; false when they stop coming.
    bool collect(std::vector<SearchReport>& states);
    // The states best first: what ends the search, then (with novelty)
    // rarely visited cells, then the score; ties by the parent's place and
    // the action, so the same search always keeps the same states.
    std::vector<std::size_t> rank(const std::vector<SearchReport>& states,
                                  std::map<pid_t, int>& order);
    void keepBest(const std::vector<SearchReport>& states, const std::vector<std::size_t>& order);
    SearchResult won(const SearchReport& state);
    SearchResult finish(const std::string& why);

    const std::vector<SearchAction>& actions;
    const SearchSettings& settings;
    SearchResult result;
    std::vector<Node> nodes;
    std::map<pid_t, int> nodeOf;  // a kept state's node; the start state has none
    std::vector<pid_t> beam;
    std::set<CellKey> seenCells;  // every cell a state has reported from
    std::map<CellKey, int> kept;  // states kept in each cell so far
    std::vector<pid_t> loose;     // reported states not yet kept or killed
    int staleFor = 0;
};

bool BeamSearch::start() {
    if (pipe(context.reportPipe) != 0) return false;
    if (pipe(context.lifeline) != 0) {
        close(context.reportPipe[0]);
        close(context.reportPipe[1]);
        return false;
    }
    prctl(PR_SET_CHILD_SUBREAPER, 1);
    std::signal(SIGCHLD, SIG_IGN);
    sigset_t block;
    sigemptyset(&block);
    sigaddset(&block, SIGUSR1);
    sigprocmask(SIG_BLOCK, &block, nullptr);
    std::cout.flush();
    std::fflush(nullptr);

    const pid_t first = fork();
    if (first == 0) {
        close(context.reportPipe[0]);
        close(context.lifeline[1]);
        waitAsState();
    }
    close(context.reportPipe[1]);
    close(context.lifeline[0]);
    nodeOf[first] = -1;
    beam.push_back(first);
    return true;
}

bool BeamSearch::collect(std::vector<SearchReport>& states) {
    // Expand a few states at a time; the rest wait their turn.
    std::size_t started = 0;
    int running = 0;
    for (; started < beam.size() && running < settings.jobs; ++started, ++running)
        kill(beam[started], SIGUSR1);
    std::set<pid_t> expecting(beam.begin(), beam.end());
    std::map<pid_t, int> pending;  // children of a node yet to report
    int owed = 0;
    while (!expecting.empty() || owed > 0) {
        pollfd in{context.reportPipe[0], POLLIN, 0};
        if (poll(&in, 1, silentStateMs) <= 0) return false;
        SearchReport r;
        const ssize_t got = read(context.reportPipe[0], &r, sizeof r);
        if (got != static_cast<ssize_t>(sizeof r)) {
            if (got < 0 && errno == EINTR) continue;
            return false;
        }
        if (r.kind == 2) {
            expecting.erase(r.pid);
            owed += r.children;
            pending[r.pid] += r.children;
            if (pending[r.pid] == 0 && started < beam.size()) kill(beam[started++], SIGUSR1);
        } else {
            --owed;
            // A node is done when all its children have reported; only then
            // does the next one start, so a few nodes' children run at once.
            if (--pending[r.parent] == 0 && started < beam.size()) kill(beam[started++], SIGUSR1);
            if (r.outcome == OutcomeRefused || (r.outcome == OutcomeDied && !settings.deathEnds)) continue;
            states.push_back(r);
        }
    }
    return true;
}

std::vector<std::size_t> BeamSearch::rank(const std::vector<SearchReport>& states,
                                          std::map<pid_t, int>& order) {
    // Rarity counts the states kept in a cell before, in steps of doubling:
    // the search spreads out instead of circling where the score is low but
    // the way is shut.
    std::vector<int> novel(states.size(), 0);
    if (settings.staleRounds > 0) {
        bool fresh = false;
        for (std::size_t i = 0; i < states.size(); ++i) {
            const CellKey k = cellKey(states[i]);
            if (!seenCells.count(k)) fresh = true;
            const int count = kept[k];
            int rarity = 0;
            while ((count + 1) >> rarity > 1) ++rarity;
            novel[i] = -rarity;
        }
        for (const SearchReport& r : states) seenCells.insert(cellKey(r));
        staleFor = fresh ? 0 : staleFor + 1;
    }
    std::vector<std::size_t> ranked(states.size());
    for (std::size_t i = 0; i < ranked.size(); ++i) ranked[i] = i;
    std::sort(ranked.begin(), ranked.end(), [&](std::size_t a, std::size_t b) {
        const SearchReport& x = states[a];
        const SearchReport& y = states[b];
        return std::make_tuple(!ends(x, settings), -novel[a], x.score, order[x.parent], x.action) <
               std::make_tuple(!ends(y, settings), -novel[b], y.score, order[y.parent], y.action);
    });
    return ranked;
}

void BeamSearch::keepBest(const std::vector<SearchReport>& states,
                          const std::vector<std::size_t>& ranked) {
    std::set<Likeness> seen;
    std::map<CellKey, int> perCell;
    for (std::size_t i : ranked) {
        const SearchReport& r = states[i];
        // A few states per cell at most, so the beam does not pile up at a
        // wall the distance field walks through and forgets the way round.
        int& inCell = perCell[cellKey(r)];
        const bool keep = static_cast<int>(beam.size()) < settings.beam &&
                          static_cast<int>(nodes.size()) < (1 << 22) &&
                          inCell < settings.perCell && seen.insert(likeness(r)).second;
        if (!keep) {
            kill(r.pid, SIGKILL);
            continue;
        }
        ++inCell;
        ++kept[cellKey(r)];
        nodes.push_back({nodeOf[r.parent], r});
        beam.push_back(r.pid);
    }
    loose.clear();
    std::map<pid_t, int> nextNodeOf;
    for (std::size_t i = 0; i < beam.size(); ++i)
        nextNodeOf[beam[i]] = static_cast<int>(nodes.size() - beam.size() + i);
    nodeOf.swap(nextNodeOf);
}

SearchResult BeamSearch::won(const SearchReport& state) {
    std::vector<SearchReport> path{state};
    for (int n = nodeOf[state.parent]; n >= 0; n = nodes[n].parent) path.push_back(nodes[n].report);
    std::reverse(path.begin(), path.end());
    result.found = true;
    result.outcome = state.outcome;
    result.path = path;
    for (const SearchReport& r : path) {
        result.history.push_back(r.action);
        for (int i = 0; i < r.frames; ++i) result.frames.push_back(inputOf(actions[r.action], i));
    }
    return finish("");
}

SearchResult BeamSearch::finish(const std::string& why) {
    for (pid_t p : beam) kill(p, SIGKILL);
    for (pid_t p : loose) kill(p, SIGKILL);
    close(context.reportPipe[0]);
    close(context.lifeline[1]);
    if (!result.found) result.ended = why;
    return result;
}

SearchResult BeamSearch::run() {
    if (!start()) {
        result.ended = "no pipe";
        return result;
    }
    const auto deadline = std::chrono::steady_clock::now() +
                          std::chrono::milliseconds(static_cast<long>(settings.seconds * 1000));
    for (int round = 0; round < settings.rounds && !beam.empty(); ++round) {
        result.rounds = round + 1;
        if (std::chrono::steady_clock::now() > deadline) return finish("out of time");
        std::map<pid_t, int> order;  // a state's place in the beam, for ties
        for (std::size_t i = 0; i < beam.size(); ++i) order[beam[i]] = static_cast<int>(i);
        std::vector<SearchReport> states;
        const bool heard = collect(states);
        loose.clear();
        for (const SearchReport& r : states) loose.push_back(r.pid);
        if (!heard) return finish("lost the search's states");
        result.states += static_cast<long>(states.size());
        // The expanded states have ended; only their children live on.
        beam.clear();
        const std::vector<std::size_t> ranked = rank(states, order);
        if (!states.empty() && states[ranked[0]].score < result.bestScore)
            result.bestScore = states[ranked[0]].score;
        if (!states.empty() && ends(states[ranked[0]], settings)) return won(states[ranked[0]]);
        keepBest(states, ranked);
        if (settings.progress && (round % 20 == 0 || getenv("SOLVE_VERBOSE")) && !states.empty()) {
            const SearchReport& best = states[ranked[0]];
            std::cerr << "round " << round << ": " << beam.size() << " states, best "
                      << best.score << " at (" << best.x << ", " << best.y << ") waypoint "
                      << best.phase << '\n';
        }
        if (settings.staleRounds > 0 && staleFor >= settings.staleRounds) return finish(exhausted);
    }
    return finish(beam.empty() ? "no state left" : "out of rounds");
}

}  // namespace

const char* const exhausted = "explored every cell it could reach";

SearchResult runSearch(Level& level, const std::vector<SearchAction>& actions,
                       const SearchSettings& settings, SearchRules& rules) {
    context.level = &level;
    context.actions = &actions;
    context.settings = &settings;
    context.rules = &rules;
    BeamSearch search(actions, settings);
    return search.run();
}

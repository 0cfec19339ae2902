// curdovar-solve: searches for an input that takes the hero to a level's goal
// and writes it as a replay for curdovar-replay.
//
//   curdovar-solve LEVEL TILESIZE OUT [--prefix REPLAY] [--via COL,ROW]...
//                  [--partial] [--bombs] [--explode] [--beam N] [--step FRAMES]
//                  [--per-cell N] [--rounds N] [--jobs N] [--seconds N]
//
// A beam search over short runs of input (walk left, right or stand, with or
// without a jump). Each kept state is a paused copy of this process made with
// fork, so a candidate costs only its own frames, never a replay from the
// start. States are ranked by the walking distance, in cells, to the next
// --via cell and finally to the goal; any death throws a state away. A
// --prefix replay is played first and copied to the front of the result;
// with --partial the search ends at the last --via cell, which makes a
// prefix to finish by hand (a bomb to lay) or with another search.
#include "level/Level.h"
#include "menus/Settings.h"
#include "shell/Clock.h"
#include "shell/Game.h"
#include "shell/Headless.h"
#include "shell/Replay.h"
#include "media/Text.h"

#include <SDL.h>
#include <SDL_image.h>
#include <SDL_ttf.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <fstream>
#include <iostream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <tuple>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int unreachable = 1 << 16;   // distance of a cell the goal cannot be walked to from
constexpr int waypointWeight = 1 << 26; // every waypoint still ahead outweighs any distance
constexpr int maxHistory = 4000;        // decisions a search may take

struct Action {
    char dir = '-';  // '-', 'L' or 'R'
    bool jump = false;
    bool bomb = false;
    bool explode = false;
};

// What a state tells the coordinator. Sent whole through one pipe, so it must
// stay far below PIPE_BUF to arrive in one piece.
struct Report {
    int kind = 0;  // 1: a state; 2: a node says how many children it made
    pid_t pid = 0;
    pid_t parent = 0;
    int action = 0;
    int children = 0;
    int x = 0, y = 0;
    float vx = 0, vy = 0;
    int grounded = 0, status = 0, form = 0, keys = 0, bombs = 0, things = 0;
    int waypoint = 0;
    int score = 0;
    int goal = 0;
    int died = 0;
};

struct Search {
    std::string levelPath;
    std::string outPath;
    std::string prefixPath;
    int size = 32;
    int beam = 40;
    int step = 4;
    int rounds = 1500;
    int jobs = 2;       // states expanded at once
    int perCell = 4;    // states kept in one cell
    int seconds = 900;  // give up after this long
    bool bombs = false;
    bool explode = false;
    bool partial = false;  // stop at the last --via cell instead of the goal
    std::vector<std::pair<int, int>> via;
};

Search search;
std::vector<Action> actions;
std::vector<std::vector<int>> distances;  // one field per waypoint, the goal last
int reportPipe[2];
int lifeline[2];  // the coordinator holds the only write end: its end tells the states to go
SDL_Surface* screen;
Level* level;
int currentWaypoint;

// One frame as curdovar-replay plays it, without the picture: the drawing's
// only effect on play is the two random numbers it draws for the shake, and
// the Maimframe's leaps read the same sequence. Returns the step result.
int playFrame(bool left, bool right, bool explode, bool jump, bool bomb) {
    holdKey(getUserKey(KeyLeft), left);
    holdKey(getUserKey(KeyRight), right);
    holdKey(getUserKey(KeyExplodeAll), explode);
    if (jump) pressKey(getUserKey(KeyJump));
    if (bomb) pressKey(getUserKey(KeyLayBomb));
    SDL_Event event;
    while (SDL_PollEvent(&event)) level->handleEvent(event);
    const int result = level->step();
    std::rand();
    std::rand();
    advanceClock(framePeriodMs);
    return result;
}

int cellOf(int pixel) {
    return pixel >= 0 ? pixel / tileSize : -1;
}

bool covers(const SDL_Rect* box, int col, int row) {
    const int c0 = cellOf(box->x), c1 = cellOf(box->x + tileSize - 1);
    const int r0 = cellOf(box->y), r1 = cellOf(box->y + tileSize - 1);
    return col >= c0 && col <= c1 && row >= r0 && row <= r1;
}

int scoreOf(const SDL_Rect* box) {
    const int w = level->getWidth(), h = level->getHeight();
    const int col = std::clamp(cellOf(box->x + tileSize / 2), 0, w - 1);
    const int row = std::clamp(cellOf(box->y + tileSize / 2), 0, h - 1);
    const int remaining = static_cast<int>(distances.size()) - 1 - currentWaypoint;
    const std::vector<int>& field = distances[currentWaypoint];
    const int d = field[col * h + row];
    // Within a cell, credit the way already made toward the neighbour that
    // leads on, so a start from standstill still ranks as progress.
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
    return remaining * waypointWeight + d * tileSize - credit;
}

Report describe() {
    Player& player = level->getPlayer();
    const SDL_Rect* box = player.getRect();
    Report r;
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
    r.things = static_cast<int>(level->getThings().size());
    r.waypoint = currentWaypoint;
    r.score = scoreOf(box);
    return r;
}

void send(const Report& r) {
    const char* p = reinterpret_cast<const char*>(&r);
    if (write(reportPipe[1], p, sizeof r) != static_cast<ssize_t>(sizeof r)) _exit(3);
}

// Plays one decision; false when the hero died or the game ended.
bool playAction(const Action& a, int& result) {
    Player& player = level->getPlayer();
    const int lives = player.getLives();
    for (int i = 0; i < search.step; ++i) {
        result = playFrame(a.dir == 'L', a.dir == 'R', a.explode, i == 0 && a.jump,
                           i == 0 && a.bomb);
        if (player.getLives() < lives || level->isGameOver()) return false;
        const int last = static_cast<int>(distances.size()) - 1;
        while (currentWaypoint < last &&
               covers(player.getRect(), search.via[currentWaypoint].first,
                      search.via[currentWaypoint].second))
            ++currentWaypoint;
        if (result == StepLevelDone) return true;
        if (search.partial && currentWaypoint == last) {
            result = StepLevelDone;
            return true;
        }
    }
    return true;
}

// A paused state: waits to be expanded or killed; gives up if the
// coordinator is gone.
[[noreturn]] void waitAsState() {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGUSR1);
    timespec second{1, 0};
    for (;;) {
        const int sig = sigtimedwait(&set, nullptr, &second);
        if (sig == SIGUSR1) break;
        pollfd line{lifeline[0], POLLIN, 0};
        if (poll(&line, 1, 0) != 0) _exit(0);
    }
    // Expand: one child per sensible action, then this copy is no longer needed.
    Player& player = level->getPlayer();
    std::vector<int> chosen;
    for (int i = 0; i < static_cast<int>(actions.size()); ++i) {
        const Action& a = actions[i];
        if (a.jump && !player.isGrounded() && player.getStatus() == StatusNormal) continue;
        if (a.bomb && player.getBombs() == 0) continue;
        chosen.push_back(i);
    }
    int made = 0;
    const pid_t parent = getpid();
    for (int index : chosen) {
        const pid_t child = fork();
        if (child < 0) break;
        if (child == 0) {
            int result = 0;
            const bool alive = playAction(actions[index], result);
            Report r = describe();
            r.parent = parent;
            r.action = index;
            r.died = !alive;
            r.goal = alive && result == StepLevelDone;
            send(r);
            if (!alive || r.goal) _exit(0);
            waitAsState();
        }
        ++made;
    }
    Report finished;
    finished.kind = 2;
    finished.pid = getpid();
    finished.children = made;
    send(finished);
    _exit(0);
}

// Walking distance in cells from every cell to the nearest target cell,
// through anything but solid walls; portals lead to their targets.
std::vector<int> distanceField(const std::vector<std::pair<int, int>>& targets) {
    const int w = level->getWidth(), h = level->getHeight();
    const Grid& grid = level->getGrid();
    std::vector<int> dist(w * h, unreachable);
    std::deque<int> queue;
    for (auto [c, r] : targets) {
        dist[c * h + r] = 0;
        queue.push_back(c * h + r);
    }
    auto solid = [&](int c, int r) {
        const int v = grid[c][r];
        return v == 1 || v == 13;
    };
    while (!queue.empty()) {
        const int cell = queue.front();
        queue.pop_front();
        const int c = cell / h, r = cell % h;
        const int here = dist[cell];
        const int dc[4] = {1, -1, 0, 0}, dr[4] = {0, 0, 1, -1};
        for (int k = 0; k < 4; ++k) {
            const int nc = c + dc[k], nr = r + dr[k];
            if (nc < 0 || nr < 0 || nc >= w || nr >= h || solid(nc, nr)) continue;
            if (dist[nc * h + nr] > here + 1) {
                dist[nc * h + nr] = here + 1;
                queue.push_back(nc * h + nr);
            }
        }
    }
    return dist;
}

// Reads the portals' targets from the level file into the distance fields:
// a portal cell is as far as its target.
void addPortals(std::vector<int>& dist) {
    const int h = level->getHeight();
    std::ifstream in(search.levelPath);
    int w = 0, hh = 0;
    char sep;
    in >> w;
    in.get(sep);
    in >> hh;
    bool changed = true;
    std::vector<std::array<int, 4>> portals;
    for (int x = 0; x < w && in; ++x) {
        for (int y = 0; y < hh && in; ++y) {
            int v = 0;
            in >> v;
            if (v == 28) {
                std::string word;
                while (in >> word && word != "Burmashave.") {
                }
            } else if (v == 29) {
                int tc = 0, tr = 0;
                in >> tc >> tr;
                portals.push_back({x, y, tc, tr});
            }
        }
    }
    for (int pass = 0; changed && pass < 50; ++pass) {
        changed = false;
        for (const auto& p : portals) {
            const int via = dist[p[2] * h + p[3]] + 1;
            if (via < dist[p[0] * h + p[1]]) {
                dist[p[0] * h + p[1]] = via;
                changed = true;
            }
        }
        if (!changed) break;
        // Spread the shortcut to the cells around the portal.
        std::deque<int> queue;
        for (std::size_t i = 0; i < dist.size(); ++i) queue.push_back(static_cast<int>(i));
        const Grid& grid = level->getGrid();
        while (!queue.empty()) {
            const int cell = queue.front();
            queue.pop_front();
            const int c = cell / h, r = cell % h;
            const int dc[4] = {1, -1, 0, 0}, dr[4] = {0, 0, 1, -1};
            for (int k = 0; k < 4; ++k) {
                const int nc = c + dc[k], nr = r + dr[k];
                if (nc < 0 || nr < 0 || nc >= w || nr >= h) continue;
                if (grid[nc][nr] == 1 || grid[nc][nr] == 13) continue;
                if (dist[nc * h + nr] > dist[cell] + 1) {
                    dist[nc * h + nr] = dist[cell] + 1;
                    queue.push_back(nc * h + nr);
                }
            }
        }
    }
}

std::string runText(const Action& a) {
    std::string s(1, a.dir);
    if (a.jump) s += " J";
    if (a.bomb) s += " B";
    if (a.explode) s += " X";
    return s;
}

void writeReplay(const Replay& prefix, const std::vector<int>& history) {
    std::ofstream out(search.outPath);
    out << "# Found by curdovar-solve.\nlevel " << search.levelPath << "\ntilesize " << search.size
        << "\nexpect goal\n";
    for (const ReplayRun& run : prefix.runs) {
        out << run.frames << ' ' << (run.left ? "L" : run.right ? "R" : "-");
        if (run.jump) out << " J";
        if (run.layBomb) out << " B";
        if (run.explodeAll) out << " X";
        out << '\n';
    }
    // Merge decisions: a run continues while the keys held stay the same and
    // nothing is pressed.
    std::size_t i = 0;
    while (i < history.size()) {
        const Action& a = actions[history[i]];
        int frames = search.step;
        std::size_t j = i + 1;
        while (j < history.size()) {
            const Action& b = actions[history[j]];
            if (b.jump || b.bomb || b.dir != a.dir || b.explode != a.explode) break;
            frames += search.step;
            ++j;
        }
        out << frames << ' ' << runText(a) << '\n';
        i = j;
    }
}

bool parseArgs(int argc, char** argv) {
    std::vector<std::string> plain;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto next = [&]() -> std::string { return i + 1 < argc ? argv[++i] : ""; };
        if (arg == "--prefix") search.prefixPath = next();
        else if (arg == "--beam") search.beam = std::atoi(next().c_str());
        else if (arg == "--step") search.step = std::atoi(next().c_str());
        else if (arg == "--rounds") search.rounds = std::atoi(next().c_str());
        else if (arg == "--per-cell") search.perCell = std::max(1, std::atoi(next().c_str()));
        else if (arg == "--jobs") search.jobs = std::max(1, std::atoi(next().c_str()));
        else if (arg == "--seconds") search.seconds = std::atoi(next().c_str());
        else if (arg == "--bombs") search.bombs = true;
        else if (arg == "--explode") search.explode = true;
        else if (arg == "--partial") search.partial = true;
        else if (arg == "--via") {
            int c = 0, r = 0;
            if (std::sscanf(next().c_str(), "%d,%d", &c, &r) != 2) return false;
            search.via.push_back({c, r});
        } else plain.push_back(arg);
    }
    if (plain.size() != 3 || search.beam <= 0 || search.step <= 0) return false;
    search.levelPath = plain[0];
    search.size = std::atoi(plain[1].c_str());
    search.outPath = plain[2];
    return search.size > 0;
}

void buildActions() {
    for (char dir : {'R', 'L', '-'}) {
        for (bool jump : {false, true}) actions.push_back({dir, jump, false, false});
        if (search.bombs) actions.push_back({dir, false, true, false});
        if (search.explode) actions.push_back({dir, false, false, true});
    }
}

// Two states this alike are treated as one; the better-ranked one stays.
std::tuple<int, int, int, int, int, int, int, int, int, int, int> likeness(const Report& r) {
    const int half = std::max(1, tileSize / 2);
    return {r.x / half, r.y / half, r.grounded, r.status, r.form, r.keys, r.bombs,
            r.vx > 0.5f ? 1 : r.vx < -0.5f ? -1 : 0, r.vy < -0.5f ? -1 : r.vy > 0.5f ? 1 : 0,
            r.waypoint, r.things};
}

}  // namespace

int main(int argc, char** argv) {
    if (!parseArgs(argc, argv)) {
        std::cerr << "usage: curdovar-solve LEVEL TILESIZE OUT [--prefix REPLAY] "
                     "[--via COL,ROW]... [--partial] [--bombs] [--explode] [--beam N] "
                     "[--step FRAMES] [--per-cell N] [--rounds N] [--jobs N] [--seconds N]\n";
        return 2;
    }
    Replay prefix;
    if (!search.prefixPath.empty()) {
        std::string error;
        if (!loadReplay(search.prefixPath, prefix, error)) {
            std::cerr << search.prefixPath << ": " << error << '\n';
            return 2;
        }
    }

    setenv("SDL_VIDEODRIVER", "dummy", 1);
    if (SDL_Init(SDL_INIT_TIMER | SDL_INIT_VIDEO) < 0 || TTF_Init() < 0) {
        std::cerr << "SDL failed to start: " << SDL_GetError() << '\n';
        return 2;
    }
    IMG_Init(IMG_INIT_PNG);
    screen = SDL_SetVideoMode(20 * search.size, 15 * search.size, 32, 0);
    if (!screen) return 2;

    std::streambuf* gameOutput = std::cout.rdbuf();
    std::ostringstream swallowed;
    std::cout.rdbuf(swallowed.rdbuf());
    tileSize = search.size;
    useManualClock(0);
    level = new Level(levelNumberOf(search.levelPath), screen);
    if (!level->load(search.levelPath)) {
        std::cout.rdbuf(gameOutput);
        std::cerr << "cannot load " << search.levelPath << '\n';
        return 2;
    }

    // Distance fields: each waypoint, then every goal cell.
    std::vector<std::pair<int, int>> goals;
    for (int c = 0; c < level->getWidth(); ++c)
        for (int r = 0; r < level->getHeight(); ++r)
            if (level->getGrid()[c][r] == 7) goals.push_back({c, r});
    for (auto cell : search.via) distances.push_back(distanceField({cell}));
    distances.push_back(distanceField(goals));
    for (auto& field : distances) addPortals(field);
    buildActions();

    // The prefix is played right here, before the first copy is made.
    for (const ReplayRun& run : prefix.runs) {
        for (int i = 0; i < run.frames; ++i) {
            const int lives = level->getPlayer().getLives();
            playFrame(run.left, run.right, run.explodeAll, i == 0 && run.jump,
                      i == 0 && run.layBomb);
            if (level->getPlayer().getLives() < lives) {
                std::cout.rdbuf(gameOutput);
                std::cerr << "the prefix dies\n";
                return 1;
            }
        }
    }

    if (pipe(reportPipe) != 0 || pipe(lifeline) != 0) return 2;
    prctl(PR_SET_CHILD_SUBREAPER, 1);
    std::signal(SIGCHLD, SIG_IGN);
    sigset_t block;
    sigemptyset(&block);
    sigaddset(&block, SIGUSR1);
    sigprocmask(SIG_BLOCK, &block, nullptr);

    // The first state: the level as the prefix left it.
    const pid_t first = fork();
    if (first == 0) {
        close(reportPipe[0]);
        close(lifeline[1]);
        waitAsState();
    }
    close(reportPipe[1]);
    close(lifeline[0]);
    const Uint32 deadline = SDL_GetTicks() + static_cast<Uint32>(search.seconds) * 1000;

    std::map<pid_t, std::vector<int>> history;
    history[first] = {};
    std::vector<pid_t> beam{first};
    int best = 1 << 30;
    for (int round = 0; round < search.rounds && !beam.empty(); ++round) {
        if (SDL_GetTicks() > deadline) break;
        // Expand a few states at a time; the rest wait their turn.
        std::size_t started = 0;
        int running = 0;
        for (; started < beam.size() && running < search.jobs; ++started, ++running)
            kill(beam[started], SIGUSR1);
        std::set<pid_t> expecting(beam.begin(), beam.end());
        std::map<pid_t, int> pending;  // children of a node yet to report (negative until it says how many)
        int owed = 0;
        std::vector<Report> states;
        while (!expecting.empty() || owed > 0) {
            Report r;
            const ssize_t got = read(reportPipe[0], &r, sizeof r);
            if (got != static_cast<ssize_t>(sizeof r)) {
                if (got < 0 && errno == EINTR) continue;
                std::cout.rdbuf(gameOutput);
                std::cerr << "lost the search's states\n";
                return 1;
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
                if (--pending[r.parent] == 0 && started < beam.size())
                    kill(beam[started++], SIGUSR1);
                if (!r.died) states.push_back(r);
            }
        }
        std::map<pid_t, std::vector<int>> nextHistory;
        for (const Report& r : states) {
            std::vector<int> h = history[r.parent];
            h.push_back(r.action);
            if (r.goal) {
                for (const Report& other : states)
                    if (!other.goal) kill(other.pid, SIGKILL);
                writeReplay(prefix, h);
                std::cout.rdbuf(gameOutput);
                std::cout << search.outPath << ": goal after " << round + 1 << " rounds, "
                          << h.size() * search.step << " frames searched\n";
                return 0;
            }
            if (static_cast<int>(h.size()) < maxHistory) nextHistory[r.pid] = h;
        }
        std::stable_sort(states.begin(), states.end(),
                         [](const Report& a, const Report& b) { return a.score < b.score; });
        std::set<decltype(likeness(Report{}))> seen;
        std::map<std::tuple<int, int, int, int, int, int, int, int>, int> perCell;
        beam.clear();
        for (const Report& r : states) {
            // A few states per cell at most, so the beam does not pile up at a
            // wall the distance field walks through and forgets the way round.
            int& inCell = perCell[{r.x / tileSize, r.y / tileSize, r.waypoint, r.status, r.form,
                                   r.keys, r.bombs, r.things}];
            if (static_cast<int>(beam.size()) < search.beam && nextHistory.count(r.pid) &&
                inCell < search.perCell && seen.insert(likeness(r)).second) {
                ++inCell;
                beam.push_back(r.pid);
            } else {
                kill(r.pid, SIGKILL);
            }
        }
        history.clear();
        for (pid_t p : beam) history[p] = nextHistory[p];
        if (!states.empty() && states.front().score < best) best = states.front().score;
        if (round % 20 == 0 || getenv("SOLVE_VERBOSE")) {
            std::cerr << "round " << round << " (" << SDL_GetTicks() << " ms): " << beam.size() << " states, best "
                      << (states.empty() ? -1 : states.front().score) << " at ("
                      << (states.empty() ? 0 : states.front().x) << ", "
                      << (states.empty() ? 0 : states.front().y) << ") waypoint "
                      << (states.empty() ? 0 : states.front().waypoint) << '\n';
        }
    }
    for (pid_t p : beam) kill(p, SIGKILL);
    std::cout.rdbuf(gameOutput);
    std::cout << search.outPath << ": no way to the goal found (best score " << best << ")\n";
    return 1;
}

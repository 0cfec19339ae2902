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
#include "level/Level.h"
#include "level/Tiles.h"
#include "menus/Settings.h"
#include "shell/Clock.h"
#include "tools/common/Replay.h"
#include "tools/solve/Search.h"

#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <random>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <unordered_set>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
// Time a search may take past the level's own: what it settles is worth more.
constexpr double quickSearchSeconds = 15;
constexpr double thoroughSearchSeconds = 45;
constexpr unsigned randomProbes = 6;
constexpr int randomProbeFrames = 400;
constexpr int landingWait = 60;  // frames a walk plays on for the hero to stand

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

Options options;

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

Key keyOf(const Level& level) {
    const Player& p = level.getPlayer();
    const auto [col, row] = heroCell(level);
    return {col, row, p.getStatus(), p.getForm(), p.getKeys(), p.getBombs(), worldHash(level)};
}

Key keyOf(const SearchReport& r) {
    return {r.col, r.row, r.status, r.form, r.keys, r.bombs, r.world};
}

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
Level* level;
std::string levelName;
std::vector<FrameInput> solvingRun;
KeySet safe;       // a way out is known
KeySet stranded;   // reported
int toCoordinator = -1;
Clock::time_point deadline;
int reportNumber = 1;

void tell(const Message& m) {
    const char* p = reinterpret_cast<const char*>(&m);
    if (write(toCoordinator, p, sizeof m) != static_cast<ssize_t>(sizeof m)) _exit(3);
}

void learn(const Key& key) {
    if (safe.insert(key).second) {
        Message m;
        m.kind = 1;
        m.key = key;
        tell(m);
    }
}

double secondsLeft() {
    return std::chrono::duration<double>(deadline - Clock::now()).count();
}

// Whether an enemy of this kind kills the hero as it is now.
bool kills(int type, const Player& p) {
    const bool german = p.getStatus() == StatusGerman;
    switch (type) {
    case KindZipper:
    case KindChomper:
        return p.getStatus() != StatusFrench && !(german && p.getForm() == FormCurdo);
    case KindFlapper:
    case KindBlobber:
        return !german;
    case KindMaimframe:
        return p.getForm() != FormGoto;
    default:
        return false;
    }
}

// Where a way out may lie: the goal, cells that kill (spikes, stalactites,
// the bottom row's openings, enemies that kill the hero as it is), the cells
// known safe for a hero carrying what this one carries, and keys and bombs,
// which open new ways.
std::vector<int> wayOutField(const Level& lv) {
    // A way out is walked to as the cells stand: a cracked wall stays in the way.
    const SolidCell solid = blocksPlayer;
    const Player& p = lv.getPlayer();
    Cells targets = cellsHolding(lv, TileGoal);
    for (int v : {TileSpikes, TileStalag, TileKey})
        for (auto cell : cellsHolding(lv, v)) targets.push_back(cell);
    if (p.getStatus() == StatusTerrorist)
        for (auto cell : cellsHolding(lv, TileBomb)) targets.push_back(cell);
    const int bottom = lv.getHeight() - 1;
    for (int c = 0; c < lv.getWidth(); ++c)
        if (!solid(lv.getGrid()[c][bottom])) targets.push_back({c, bottom});
    for (const Thing* thing : lv.getThings()) {
        if (thing->isDead() || !kills(thing->getType(), p)) continue;
        const SDL_Rect* r = thing->getRect();
        targets.push_back({(r->x + tileSize / 2) / tileSize, (r->y + tileSize / 2) / tileSize});
    }
    const Key here = keyOf(lv);
    for (const Key& k : safe)
        if (k.status == here.status && k.form == here.form && k.keys == here.keys &&
            k.bombs == here.bombs && k.world == here.world)
            targets.push_back({k.col, k.row});
    return distanceField(lv, targets, solid);
}

// The way-out test every run of a probe or search makes after each frame,
// besides the goal and a death. A hero holding a bomb always has a way out:
// lay it and hold Explode All (the first probe of a state that holds one
// checks that it really kills).
bool knownWayOut(const Level& lv, bool bombCounts) {
    const Player& p = lv.getPlayer();
    if (bombCounts && p.getBombs() > 0) return true;
    return p.isGrounded() && safe.count(keyOf(lv)) > 0;
}

class WayOut : public SearchRules {
public:
    explicit WayOut(bool bombCounts) : bombCounts(bombCounts) {}
    int afterFrame(Level& lv) override {
        return knownWayOut(lv, bombCounts) ? OutcomeReached : OutcomeAlive;
    }
    // The field is made again (in the state's own copy) whenever the hero's
    // load or the level changes, so it leads to what counts now.
    int score(Level& lv) override {
        Key now = keyOf(lv);
        now.col = now.row = 0;
        if (!(now == fieldFor) || field.empty()) {
            field = wayOutField(lv);
            fieldFor = now;
        }
        return scoreOf(lv, field);
    }

private:
    bool bombCounts;
    std::vector<int> field;
    Key fieldFor;
};

// One fixed run from the examined state, in a copy of this process; true
// when it reached a way out. The ground states it passed are learned.
bool probe(const std::vector<FrameInput>& frames, bool bombCounts) {
    int channel[2];
    if (pipe(channel) != 0) return false;
    std::fflush(nullptr);
    const pid_t child = fork();
    if (child < 0) {
        close(channel[0]);
        close(channel[1]);
        return false;
    }
    if (child == 0) {
        close(channel[0]);
        Player& player = level->getPlayer();
        const int lives = player.getLives();
        std::vector<Key> passed;
        int found = 0;
        for (const FrameInput& f : frames) {
            const int result = playFrame(*level, f);
            if (player.getLives() < lives || level->isGameOver() || result != StepNothing ||
                knownWayOut(*level, bombCounts)) {
                found = 1;
                break;
            }
            if (player.isGrounded()) {
                const Key k = keyOf(*level);
                if (passed.empty() || !(passed.back() == k)) passed.push_back(k);
            }
        }
        Message m;
        if (found) {
            for (const Key& k : passed) {
                m.kind = 1;
                m.key = k;
                if (write(channel[1], &m, sizeof m) != static_cast<ssize_t>(sizeof m)) _exit(3);
            }
        }
        m.kind = 3;
        m.verdict = found;
        if (write(channel[1], &m, sizeof m) != static_cast<ssize_t>(sizeof m)) _exit(3);
        _exit(0);
    }
    close(channel[1]);
    bool found = false;
    std::vector<Key> passed;
    Message m;
    while (read(channel[0], &m, sizeof m) == static_cast<ssize_t>(sizeof m)) {
        if (m.kind == 1) passed.push_back(m.key);
        if (m.kind == 3) {
            found = m.verdict != 0;
            break;
        }
    }
    close(channel[0]);
    if (found)
        for (const Key& k : passed) learn(k);
    return found;
}

std::vector<FrameInput> held(int frames, bool left, bool right, int jumpEvery) {
    std::vector<FrameInput> run(frames);
    for (int i = 0; i < frames; ++i) {
        run[i].left = left;
        run[i].right = right;
        run[i].jump = jumpEvery > 0 && i % jumpEvery == 0;
    }
    return run;
}

// Random play: a direction held for a while, jumps, bombs laid and set off.
class Walker {
public:
    explicit Walker(unsigned seed) : random(seed) {}
    FrameInput next(const Player& player) {
        if (chance(60)) {
            const int pick = static_cast<int>(random() % 10);
            direction = pick < 5 ? 1 : pick < 8 ? -1 : 0;
        }
        if (chance(20)) explode = !explode && chance(300);
        FrameInput f;
        f.left = direction < 0;
        f.right = direction > 0;
        f.explode = explode;
        f.jump = chance(80);
        f.bomb = player.getBombs() > 0 && chance(15);
        return f;
    }

private:
    bool chance(int perMille) { return static_cast<int>(random() % 1000) < perMille; }
    std::mt19937 random;
    int direction = 0;
    bool explode = false;
};

void writeStrandedReplay(const std::string& path, const std::vector<FrameInput>& log,
                         const Key& key, bool proven) {
    // Named from where the tool ran, as the shipped replays name their levels.
    std::string levelPath = level->getPath();
    char here[4096];
    if (getcwd(here, sizeof here)) {
        const std::string prefix = std::string(here) + "/";
        if (levelPath.compare(0, prefix.size(), prefix) == 0) levelPath.erase(0, prefix.size());
    }
    std::ofstream out(path);
    out << "# curdovar-softlock: this run leaves the hero in cell (" << key.col << ", "
        << key.row << "), status " << statusName(key.status) << ", form " << formName(key.form)
        << ", keys " << key.keys << ", bombs " << key.bombs
        << (proven ? ": stranded, neither the goal nor a death can be reached from there.\n"
                   : ": the search found no way out from there, but stopped before it saw "
                     "every cell within reach.\n")
        << "level " << levelPath << "\ntilesize " << tileSize << "\nexpect goal\n";
    writeRuns(out, log);
}

// Settles one state: is there a way out of it?
int examine(const std::vector<FrameInput>& log) {
    Player& player = level->getPlayer();
    const Key here = keyOf(*level);
    if (player.isGrounded() && safe.count(here)) return Known;
    if (stranded.count(here)) return Repeated;
    bool bombCounts = true;
    if (player.getBombs() > 0) {
        std::vector<FrameInput> blast = held(3, false, false, 0);
        blast[0].bomb = true;
        for (FrameInput& f : blast) f.explode = true;
        if (probe(blast, false)) {
            if (player.isGrounded()) learn(here);
            return ByProbe;
        }
        // The bomb did not do it here: holding one proves nothing from this state.
        bombCounts = false;
    }
    // Standing still (enemies come), running and jumping both ways, then
    // random play: each is a single copy however long it runs, far cheaper
    // than a search.
    std::vector<std::vector<FrameInput>> probes{
        held(900, false, false, 0), held(150, false, true, 20), held(150, true, false, 20),
        held(90, false, true, 0),   held(90, true, false, 0),   held(150, false, true, 9),
        held(150, true, false, 9)};
    for (unsigned k = 0; k < randomProbes; ++k) {
        Walker walker(static_cast<unsigned>(log.size()) * 31u + k);
        std::vector<FrameInput> frames;
        for (int i = 0; i < randomProbeFrames; ++i) frames.push_back(walker.next(player));
        probes.push_back(frames);
    }
    for (const auto& frames : probes) {
        if (probe(frames, bombCounts)) {
            if (player.isGrounded()) learn(here);
            return ByProbe;
        }
    }
    // A quick coarse search, then a finer one before a state is called stranded.
    SearchSettings quick;
    quick.beam = 6;
    quick.step = 8;
    quick.rounds = 40;
    quick.perCell = 2;
    quick.staleRounds = 4;
    quick.deathEnds = true;
    quick.menuEnds = true;
    quick.seconds = quickSearchSeconds;
    SearchSettings thorough = quick;
    thorough.seconds = thoroughSearchSeconds;
    thorough.beam = 12;
    thorough.step = 4;
    thorough.rounds = 300;
    thorough.staleRounds = 12;
    const std::vector<SearchAction> actions = searchActions(true, true, true);
    std::string ended;
    for (SearchSettings settings : {quick, thorough}) {
        settings.seconds = std::max(settings.seconds, secondsLeft());
        settings.progress = options.verbose;
        WayOut rules(bombCounts);
        const SearchResult result = runSearch(*level, actions, settings, rules);
        if (result.found) {
            for (const SearchReport& r : result.path)
                if (r.grounded) learn(keyOf(r));
            if (player.isGrounded()) learn(here);
            return BySearch;
        }
        ended = result.ended;
    }
    const std::string path = options.outDir + "/" + levelName +
                             (ended == exhausted ? "-softlock-" : "-undecided-") +
                             std::to_string(reportNumber) + ".replay";
    writeStrandedReplay(path, log, here, ended == exhausted);
    ++reportNumber;  // the coordinator counts the same way
    // Only a search that saw every cell within its reach proves anything.
    if (ended != exhausted) {
        std::printf("%s: undecided: hero in cell (%d, %d), status %s, form %s, keys %d, "
                    "bombs %d: the search stopped (%s) before it found a way out or saw every "
                    "cell within reach; the way into it: %s\n",
                    levelName.c_str(), here.col, here.row, statusName(here.status),
                    formName(here.form), here.keys, here.bombs, ended.c_str(), path.c_str());
        return Undecided;
    }
    stranded.insert(here);
    std::printf("%s: SOFT-LOCK: hero in cell (%d, %d), status %s, form %s, keys %d, bombs %d, "
                "lives %d, after %zu frames: no way to the goal or a death (%s)\n",
                levelName.c_str(), here.col, here.row, statusName(here.status),
                formName(here.form), here.keys, here.bombs, player.getLives(), log.size(),
                ended.c_str());
    std::printf("%s: the way into it: %s (see it with curdovar-replay --trace)\n",
                levelName.c_str(), path.c_str());
    return Stranded;
}

struct Job {
    int start = 0;         // frames of the solving run played first
    const std::vector<FrameInput>* prefix = nullptr;  // else these, whole
    unsigned seed = 0;
    int segments = 0;      // a state is examined after each
    int segmentFrames = 0;
};

// One walk in a copy of the level process: plays, examines, tells.
[[noreturn]] void runJob(const Job& job) {
    // Probes and search states are never waited for: nothing is left behind.
    std::signal(SIGCHLD, SIG_IGN);
    std::vector<FrameInput> log(solvingRun.begin(), solvingRun.begin() + job.start);
    if (job.prefix) log = *job.prefix;
    for (const FrameInput& f : log) playFrame(*level, f);
    Walker walker(job.seed);
    for (int s = 0; s < job.segments && secondsLeft() > 0; ++s) {
        bool over = false;
        // Played on until the hero stands (for a while at most): where it
        // ends up is what strands it, and a standing state may be known.
        const int limit = job.segmentFrames + (job.segmentFrames > 0 ? landingWait : 0);
        for (int i = 0; i < limit && !over; ++i) {
            if (i >= job.segmentFrames && level->getPlayer().isGrounded()) break;
            log.push_back(walker.next(level->getPlayer()));
            const int result = playFrame(*level, log.back());
            over = result != StepNothing || level->isGameOver();
        }
        if (over) break;
        Message m;
        m.kind = 2;
        const Clock::time_point begun = Clock::now();
        m.verdict = examine(log);
        if (options.verbose) {
            static const char* how[] = {"known", "probe", "search", "STRANDED", "undecided",
                                        "repeated"};
            const Key k = keyOf(*level);
            std::printf("%s: frame %zu, cell (%d, %d), status %s, bombs %d: %s, %.2f s\n",
                        levelName.c_str(), log.size(), k.col, k.row, statusName(k.status),
                        k.bombs, how[m.verdict],
                        std::chrono::duration<double>(Clock::now() - begun).count());
        }
        m.fromStart = job.start == 0;
        m.key = keyOf(*level);
        tell(m);
        if (m.verdict == Stranded) break;
    }
    Message done;
    done.kind = 3;
    tell(done);
    _exit(0);
}

// Runs fn in a copy of this process and takes in what it tells until it is done.
template <typename Fn>
void inCopy(Fn fn, std::vector<Message>& heard) {
    int channel[2];
    if (pipe(channel) != 0) return;
    std::fflush(nullptr);
    const pid_t child = fork();
    if (child == 0) {
        close(channel[0]);
        toCoordinator = channel[1];
        fn();
        _exit(0);
    }
    close(channel[1]);
    Message m;
    while (read(channel[0], &m, sizeof m) == static_cast<ssize_t>(sizeof m)) {
        if (m.kind == 3) break;
        heard.push_back(m);
    }
    close(channel[0]);
    if (child > 0) waitpid(child, nullptr, 0);
}

std::string baseName(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    std::string file = slash == std::string::npos ? path : path.substr(slash + 1);
    const std::size_t dot = file.rfind('.');
    return dot == std::string::npos ? file : file.substr(0, dot);
}

bool meantWithoutGoal(const std::string& path) {
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line))
        if (line.find("lint: no-goal") != std::string::npos) return true;
    return false;
}

// Checks one level in this process; its exit status.
int checkLevel(const std::string& path, SDL_Surface* screen) {
    const Clock::time_point started = Clock::now();
    deadline = started + std::chrono::milliseconds(static_cast<long>(options.seconds * 1000));
    levelName = baseName(path);
    if (meantWithoutGoal(path)) {
        std::printf("%s: no goal by design (lint: no-goal): not checked\n", levelName.c_str());
        return 0;
    }
    tileSize = options.size;
    useManualClock(0);
    level = new Level(levelNumberOf(path), screen);
    if (!level->load(path)) {
        std::printf("%s: cannot load %s\n", levelName.c_str(), path.c_str());
        return 2;
    }
    std::string replayPath = options.replayPath;
    if (replayPath.empty()) {
        const std::string guess =
            "tests/replays/" + levelName + "-" + std::to_string(options.size) + ".replay";
        if (access(guess.c_str(), R_OK) == 0) replayPath = guess;
    }
    std::string note;
    if (!replayPath.empty()) {
        Replay replay;
        std::string error;
        if (loadReplay(replayPath, replay, error)) {
            solvingRun = framesOf(replay);
        } else if (!options.replayPath.empty()) {
            std::printf("%s: %s: %s\n", levelName.c_str(), replayPath.c_str(), error.c_str());
            return 2;
        } else {
            // The replay test reports a broken replay; here it only costs the detours.
            note = "; " + replayPath + " unreadable (" + error + "), walks from the start only";
        }
    } else {
        note = "; no solving run, walks from the start only";
    }

    // Every ground state of the solving run has a way out: the rest of the run.
    std::vector<Message> heard;
    if (!solvingRun.empty()) {
        inCopy([] {
            std::vector<Key> passed;
            bool goal = false;
            for (const FrameInput& f : solvingRun) {
                if (playFrame(*level, f) == StepLevelDone) {
                    goal = true;
                    break;
                }
                if (level->getPlayer().isGrounded()) passed.push_back(keyOf(*level));
            }
            if (goal)
                for (const Key& k : passed) learn(k);
            Message done;
            done.kind = 3;
            tell(done);
            _exit(0);
        }, heard);
        if (heard.empty()) {
            note = "; the solving run does not reach the goal, walks from the start only";
            solvingRun.clear();
        }
    }
    for (const Message& m : heard) safe.insert(m.key);

    // Detours from points spread along the solving run, between walks from the start.
    const int frames = static_cast<int>(solvingRun.size());
    std::vector<int> points;
    if (frames > 0) {
        const int spacing = std::max(10, frames / 30);
        std::vector<int> along;
        for (int f = spacing; f < frames; f += spacing) along.push_back(f);
        // Halving order: the whole run is covered early, the gaps filled later.
        std::vector<bool> taken(along.size(), false);
        for (std::size_t stride = along.size(); stride >= 1; stride /= 2) {
            for (std::size_t i = 0; i < along.size(); i += stride)
                if (!taken[i]) {
                    taken[i] = true;
                    points.push_back(along[i]);
                }
            if (stride == 1) break;
        }
    }
    int examined = 0, fromStart = 0, softLocks = 0, undecided = 0;
    int counts[6] = {};
    std::size_t next = 0;
    // --at: the one state a replay leads into, nothing else.
    std::vector<FrameInput> atFrames;
    if (!options.atPath.empty()) {
        Replay at;
        std::string error;
        if (!loadReplay(options.atPath, at, error)) {
            std::printf("%s: %s: %s\n", levelName.c_str(), options.atPath.c_str(), error.c_str());
            return 2;
        }
        atFrames = framesOf(at);
    }
    for (unsigned round = 0; secondsLeft() > 0 && round < 1000; ++round) {
        Job job;
        if (!atFrames.empty()) {
            if (round > 0) break;
            job.prefix = &atFrames;
            job.segments = 1;
        }
        job.seed = options.seed * 7919u + round * 104729u + 17u;
        if (job.prefix) {
        } else if (round % 4 == 0 || points.empty()) {
            job.segments = 8;
            job.segmentFrames = 60;
        } else {
            // Several short stretches per detour: playing up to its point
            // costs as much as many examinations.
            job.start = points[next++ % points.size()];
            job.segments = 6;
            job.segmentFrames = 25;
        }
        heard.clear();
        inCopy([&job] { runJob(job); }, heard);
        for (const Message& m : heard) {
            if (m.kind == 1) safe.insert(m.key);
            if (m.kind != 2) continue;
            ++examined;
            fromStart += m.fromStart;
            ++counts[m.verdict];
            if (m.verdict == Stranded || m.verdict == Undecided) ++reportNumber;
            if (m.verdict == Stranded) {
                ++softLocks;
                stranded.insert(m.key);
            }
            if (m.verdict == Undecided) ++undecided;
        }
        if (softLocks >= options.reports) break;
        if (options.examineLimit > 0 && examined >= options.examineLimit) break;
    }
    const double took = std::chrono::duration<double>(Clock::now() - started).count();
    const std::string verdict =
        softLocks ? std::to_string(softLocks) + (softLocks > 1 ? " SOFT-LOCKS" : " SOFT-LOCK")
                  : "no soft-lock";
    std::printf("%s: %s: %d states examined (%d on walks from the start, %d near the solving "
                "run; %d known safe, %d by a probe, %d by a search, %d undecided) in %.1f s%s\n",
                levelName.c_str(), verdict.c_str(), examined, fromStart, examined - fromStart, counts[Known] + counts[Repeated],
                counts[ByProbe], counts[BySearch], undecided, took, note.c_str());
    return softLocks ? 1 : 0;
}

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

#include "tools/softlock/Examine.h"

#include "level/Level.h"
#include "menus/Settings.h"
#include "tools/common/Replay.h"
#include "tools/softlock/WayOut.h"
#include "tools/softlock/Walker.h"

#include <algorithm>
#include <csignal>
#include <fstream>

namespace softlock {

namespace {

constexpr double quickSearchSeconds = 15;   // time a search may take past the level's own:
constexpr double thoroughSearchSeconds = 45;  // what it settles is worth more
constexpr unsigned randomProbes = 6;
constexpr int randomProbeFrames = 400;
constexpr int landingWait = 60;  // frames a walk plays on for the hero to stand

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

// A quick coarse search, then a finer one before a state is called
// stranded; true when one found a way out. `ended` says why the last stopped.
bool searchForWayOut(bool bombCounts, const Key& here, std::string& ended) {
    Player& player = level->getPlayer();
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
    for (SearchSettings settings : {quick, thorough}) {
        settings.seconds = std::max(settings.seconds, secondsLeft());
        settings.progress = options.verbose;
        WayOut rules(bombCounts);
        const SearchResult result = runSearch(*level, actions, settings, rules);
        if (result.found) {
            for (const SearchReport& r : result.path)
                if (r.grounded) learn(keyOf(r));
            if (player.isGrounded()) learn(here);
            return true;
        }
        ended = result.ended;
    }
    return false;
}

}  // namespace

int examine(const std::vector<FrameInput>& log) {
    Player& player = level->getPlayer();
    const Key here = keyOf(*level);
    if (player.isGrounded() && safe.count(here)) return Known;
    if (stranded.count(here)) return Repeated;
    bool bombCounts = true;
    if (player.getBombs() > 0) {
        std::vector<FrameInput> blast = held(3, false, false, 0);
        blast[0].layBomb = true;
        for (FrameInput& f : blast) f.explodeAll = true;
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
    std::string ended;
    if (searchForWayOut(bombCounts, here, ended)) return BySearch;
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

}  // namespace softlock

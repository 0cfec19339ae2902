#include "tools/difficulty/LevelStudy.h"

#include "level/Level.h"
#include "level/Tiles.h"
#include "menus/Settings.h"
#include "shell/Clock.h"
#include "shell/Particles.h"
#include "things/Blobber.h"
#include "things/Chomper.h"
#include "things/Flapper.h"
#include "tools/common/Replay.h"
#include "tools/difficulty/SimulatedPlayer.h"
#include "tools/solve/Search.h"

#include <algorithm>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <functional>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr int maxShiftFrames = 10;       // a press this far off either way counts as loose enough
constexpr int probeHorizonFrames = 90;   // the route 3 s on from a shifted press without a death: survived
constexpr int framesPerRouteFrame = 20;  // an attempt may take this many times the route's length
constexpr int extraAttemptFrames = 3000; // ... and this many frames more
constexpr int simplifyGraceFrames = 60;  // a simpler run may take this much longer at its end
constexpr std::size_t maxDroppedTogether = 3;  // changes of keys tried away at once
constexpr int joinAfterFrames = 45;      // a way back joins the route at least this far past the tree
constexpr double joinSpeedSlack = 0.125; // ... at the route's speed, give or take this many tiles a frame
constexpr int backSearchSeconds = 30;    // the search for a way back gives up after this long
constexpr int wayBackTailFrames = 30;    // a way back goes on along the route this long after it joins

std::uint64_t mix(std::uint64_t h, std::uint64_t v) {
    h ^= v + 0x9e3779b97f4a7c15ull + (h << 6) + (h >> 2);
    return h * 1099511628211ull;
}

// Reads a child's whole report, then waits for it.
std::string collect(int fd, pid_t child) {
    std::string text;
    char buffer[4096];
    ssize_t got = 0;
    while ((got = read(fd, buffer, sizeof buffer)) > 0) text.append(buffer, static_cast<std::size_t>(got));
    close(fd);
    int status = 0;
    waitpid(child, &status, 0);
    return text;
}

void writeAll(int fd, const std::string& text) {
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t put = write(fd, text.data() + done, text.size() - done);
        if (put <= 0) return;
        done += static_cast<std::size_t>(put);
    }
}

// Runs work in a copy of this process and returns what it said; empty when
// the copy could not be made. Whatever work plays or changes stays there.
std::string inCopy(const std::function<std::string()>& work) {
    int link[2];
    if (pipe(link) != 0) return {};
    std::fflush(nullptr);
    const pid_t copy = fork();
    if (copy == 0) {
        close(link[0]);
        writeAll(link[1], work());
        _exit(0);
    }
    close(link[1]);
    if (copy < 0) {
        close(link[0]);
        return {};
    }
    return collect(link[0], copy);
}

std::string probeFrom(Route route, Level& level, int last, int horizon, bool inStep = false);

// Back onto the route: to its cell at one frame, standing, with its kit and
// about its speed.
class BackOnRoute : public SearchRules {
public:
    BackOnRoute(const Level& level, const RoutePoint& join)
        : cell{(join.x + tileSize / 2) / tileSize, (join.y + tileSize / 2) / tileSize}, join(join),
          field(distanceField(level, {cell}, blocksForGood)) {}
    int afterFrame(Level& level) override {
        const Player& hero = level.getPlayer();
        const bool there = heroCell(level) == cell && hero.isGrounded() && kitOf(level) == join.kit &&
                           std::fabs(hero.getVx() - join.vx) <= joinSpeedSlack * tileSize;
        return there ? OutcomeReached : OutcomeAlive;
    }
    int score(Level& level) override { return scoreOf(level, field); }

private:
    std::pair<int, int> cell;
    RoutePoint join;
    std::vector<int> field;
};

// Records route on level in a copy of the process, leaving level as it was.
bool learnIn(Route& route, Level& level, const std::vector<FrameInput>& frames, bool toGoal) {
    std::istringstream text(inCopy([&] {
        std::ostringstream out;
        if (route.record(level, frames, toGoal)) route.write(out);
        return out.str();
    }));
    return route.read(text);
}

}  // namespace

std::uint64_t attemptSeed(std::uint64_t seed, const std::string& level, const std::string& profile,
                          int attempt) {
    std::uint64_t h = mix(1469598103934665603ull, seed);
    for (char c : level) h = mix(h, static_cast<unsigned char>(c));
    for (char c : profile) h = mix(h, static_cast<unsigned char>(c));
    return mix(h, static_cast<std::uint64_t>(attempt));
}

Level* LevelStudy::freshLevel() const {
    // As a fresh process starts it, so the route recorded here, the runs
    // checked in copies and every attempt meet the same enemies and sparks.
    useManualClock(0);
    std::srand(1);  // the C library's own start
    resetChompClock();
    resetBlobClock();
    resetFlapClock();
    clearParticles();
    camera = SDL_Rect{0, 0, 0, 0};
    Level* level = new Level(levelNumberOf(path), screen);
    if (!level->load(path)) {
        delete level;
        return nullptr;
    }
    return level;
}

namespace {

// The frames where the keys change or something is pressed.
std::vector<int> changesOf(const std::vector<FrameInput>& frames) {
    std::vector<int> changes;
    for (int f = 0; f < static_cast<int>(frames.size()); ++f)
        if (f == 0 || !frames[f].holdsAsBefore(frames[f - 1]) || frames[f].pressesAnything())
            changes.push_back(f);
    return changes;
}

}  // namespace

bool LevelStudy::reachesGoal(const std::vector<FrameInput>& frames) const {
    std::fflush(nullptr);
    const pid_t child = fork();
    if (child == 0) {
        Level* level = freshLevel();
        Route route;
        _exit(level && route.record(*level, frames) ? 0 : 1);
    }
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) < 0) return false;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

std::vector<FrameInput> LevelStudy::simplify(std::vector<FrameInput> frames) const {
    // A person does not wiggle: every change of keys the run can do without
    // (its stretch played with the keys held before it, nothing pressed)
    // goes, as long as the run still reaches the goal without a death.
    // One change at a time, then two together (a wiggle: left, then right again).
    std::vector<int> changes = changesOf(frames);
    for (std::size_t span = 1; span <= maxDroppedTogether; ++span)
    for (std::size_t k = 1; k < changes.size();) {
        std::vector<FrameInput> fewer = frames;
        const int end = k + span < changes.size() ? changes[k + span] : static_cast<int>(frames.size());
        FrameInput before = frames[changes[k] - 1];
        before.jump = before.layBomb = before.queryHint = before.dismiss = false;
        for (int f = changes[k]; f < end; ++f) fewer[f] = before;
        fewer.resize(fewer.size() + simplifyGraceFrames, fewer.back());
        if (reachesGoal(fewer)) {
            frames = fewer;
            changes = changesOf(frames);
        } else {
            ++k;
        }
    }
    return frames;
}

bool LevelStudy::learnRoute(const std::vector<FrameInput>& frames) {
    const std::vector<FrameInput> plain = simplify(frames);
    Level* level = freshLevel();
    if (!level) return false;
    const bool reached = learned.record(*level, plain);
    delete level;
    if (!reached) return false;
    respawns.clear();
    std::istringstream found(findRespawnRoutes());
    RespawnRoute back;
    while (found >> back.x >> back.y >> back.joins >> back.joinsAt && back.route.read(found)) {
        std::string word;
        int aim = 0, early = 0, late = 0;
        while (found >> word && word != "end" && found >> aim >> early >> late) {
            const int k = std::atoi(word.c_str());
            if (k >= 0 && k < static_cast<int>(back.route.intents().size())) back.route.aimAt(k, aim);
        }
        respawns.push_back(back);
    }
    return true;
}

std::string LevelStudy::findRespawnRoutes() const {
    return inCopy([&] {
        std::string out;
        Level* level = freshLevel();
        if (!level) return out;
        const std::vector<FrameInput>& keys = learned.keys();
        const std::vector<RoutePoint>& path = learned.path();
        Player& hero = level->getPlayer();
        int x = hero.getRespawnX(), y = hero.getRespawnY();
        for (int f = 0; f < static_cast<int>(keys.size()); ++f) {
            playFrame(*level, keys[f]);
            if (hero.getRespawnX() == x && hero.getRespawnY() == y) continue;
            x = hero.getRespawnX();
            y = hero.getRespawnY();
            // Where the way back joins: a while past the tree, standing, as
            // the route is there.
            int join = f + 1 + joinAfterFrames;
            while (join < learned.frames() && (!path[join].grounded || path[join].kit != kitOf(*level)))
                ++join;
            if (join >= learned.frames()) break;
            // The hero dies in a copy, which then looks for the way back.
            out += inCopy([&] {
                hero.die();
                SearchSettings settings;
                settings.jobs = 1;
                settings.seconds = backSearchSeconds;
                settings.staleRounds = 60;
                BackOnRoute rules(*level, path[join]);
                const SearchResult found = runSearch(*level, calmActions(true, true), settings, rules);
                std::signal(SIGCHLD, SIG_DFL);
                std::vector<FrameInput> way = found.frames;
                const int joins = static_cast<int>(way.size());
                // A little of the route after the join: then the person is on
                // the route and follows it as it is.
                const int tail = std::min(learned.frames(), join + wayBackTailFrames);
                way.insert(way.end(), keys.begin() + join, keys.begin() + tail);
                // Learned in a copy, so the way back can then be probed from here.
                std::ostringstream text;
                Route back;
                if (found.found && learnIn(back, *level, way, false)) {
                    text << x << ' ' << y << ' ' << joins << ' ' << join << '\n';
                    back.write(text);
                    text << probeFrom(back, *level, joins + probeHorizonFrames, probeHorizonFrames) << "end\n";
                }
                return text.str();
            });
        }
        return out;
    });
}

ProfileFigures LevelStudy::run(const HumanProfile& profile) {
    ProfileFigures figures;
    figures.profile = profile.name;
    figures.attempts = settings.attempts;
    const FrameLimits limits = limitsAt(profile, settings.speedPercent);
    const int maxFrames = learned.frames() * framesPerRouteFrame + extraAttemptFrames;
    int oneLife = 0, finished = 0, stuck = 0;
    long deaths = 0;
    // Children in flight, oldest first, so reports are read in attempt order.
    std::deque<std::pair<int, pid_t>> running;
    auto readOne = [&] {
        const auto [fd, child] = running.front();
        running.pop_front();
        std::istringstream in(collect(fd, child));
        int done = 0, gaveUp = 0, died = 0, cells = 0;
        if (!(in >> done >> gaveUp >> died >> cells)) {
            ++stuck;  // a crashed attempt counts as one that got nowhere
            return;
        }
        finished += done;
        stuck += gaveUp;
        deaths += died;
        if (done && died == 0) ++oneLife;
        for (int i = 0; i < cells; ++i) {
            int c = 0, r = 0;
            in >> c >> r;
            ++figures.deathCells[{c, r}];
        }
        int c = 0, r = 0;
        if (gaveUp && in >> c >> r) ++figures.stuckCells[{c, r}];
    };
    std::fflush(nullptr);
    for (int attempt = 0; attempt < settings.attempts; ++attempt) {
        if (static_cast<int>(running.size()) >= settings.jobs) readOne();
        int fds[2];
        if (pipe(fds) != 0) break;
        const pid_t child = fork();
        if (child == 0) {
            close(fds[0]);
            Level* level = freshLevel();
            std::ostringstream out;
            if (level) {
                SimulatedPlayer player(learned, limits,
                                       attemptSeed(settings.seed, path, profile.name, attempt));
                player.knowWaysBack(respawns);
                const AttemptResult r = player.play(*level, maxFrames, settings.maxDeaths);
                out << r.finished << ' ' << r.stuck << ' ' << r.deaths << ' ' << r.deathCells.size();
                for (const auto& [c, row] : r.deathCells) out << ' ' << c << ' ' << row;
                if (r.stuck) out << ' ' << r.stuckCell.first << ' ' << r.stuckCell.second;
                out << '\n';
            }
            writeAll(fds[1], out.str());
            _exit(0);
        }
        close(fds[1]);
        if (child < 0) {
            close(fds[0]);
            break;
        }
        running.push_back({fds[0], child});
    }
    while (!running.empty()) readOne();
    const double n = std::max(1, settings.attempts);
    figures.goalOneLife = oneLife / n;
    figures.deathsToFinish = deaths / n;
    figures.finished = finished / n;
    figures.stuck = stuck / n;
    return figures;
}

namespace {

// Plays route flawlessly on level (used up), practised: as each press up to
// route frame last comes up, a copy of the process per shift plays on with
// the press that many frames off its moment, for horizon route frames. Lines
// "intent aim early late": of the widest run of shifts that get through (the
// one around the route's own moment unless another is wider), the aim and
// the frames either way of its middle. The aim is that middle; in step, the
// play goes on with each press at its aim, and the aim is the moment nearest
// the middle from which the play still reaches the goal, for a press aimed
// well for the next few seconds may leave the hero out of step with an enemy
// later. Empty when the play in step does not reach the goal.
std::string probeFrom(Route route, Level& level, int last, int horizon, bool inStep) {
    const int maxFrames = route.frames() * framesPerRouteFrame + extraAttemptFrames;
    const std::vector<Intent>& intents = route.intents();
    std::ostringstream out;
    // Whether the hero, with intent k's press shift frames off, gets on along
    // the route for the next frames without a death; in pressedAt the frame it came.
    auto survives = [&](SimulatedPlayer& player, int k, int shift, int frames, int& pressedAt) {
        std::istringstream report(inCopy([&] {
            player.shiftNext(shift);
            const int target = std::min(route.frames(), intents[k].frame + frames);
            auto until = [&](SimulatedPlayer& self, int frame) {
                if (self.routeFrame() >= target) self.endAt(frame);
            };
            const AttemptResult r = player.play(level, maxFrames, 1, until);
            const bool on = r.deaths == 0 && (r.finished || player.routeFrame() >= target);
            return std::to_string(on) + ' ' + std::to_string(player.pressFrames()[k]);
        }));
        int on = 0;
        return static_cast<bool>(report >> on >> pressedAt) && on;
    };
    std::vector<bool> probed(intents.size(), false);
    auto hook = [&](SimulatedPlayer& self, int) {
        const int k = self.upcoming();
        if (k >= static_cast<int>(intents.size()) || probed[k] || intents[k].frame > last) return;
        probed[k] = true;
        // Shifts that press in the same frame (early ones that are due
        // at once) are one moment: runs are counted in moments.
        std::vector<int> run, best;  // the shifts of distinct moments
        bool bestHasZero = false;
        int lastAt = -1;
        for (int shift = -maxShiftFrames; shift <= maxShiftFrames; ++shift) {
            int at = -1;
            if (!survives(self, k, shift, horizon, at)) {
                run.clear();
                continue;
            }
            if (run.empty() || at != lastAt) run.push_back(shift);
            lastAt = at;
            // The run around the route's own moment is the one the rest
            // of the route was found from: it wins over any other.
            const bool hasZero = run.front() <= 0 && shift >= 0;
            const bool better = hasZero ? !bestHasZero || run.size() >= best.size()
                                        : !bestHasZero && run.size() > best.size();
            if (better) {
                best = run;
                bestHasZero = hasZero;
            }
        }
        if (best.empty()) {
            out << k << " 0 0 0\n";
            return;
        }
        const int count = static_cast<int>(best.size());
        int aim = (count - 1) / 2;
        if (inStep) {
            // Outward from the middle, the first moment that reaches the goal.
            auto reachesGoal = [&](int at) {
                int pressed = -1;
                return at >= 0 && at < count && survives(self, k, best[at], route.frames(), pressed);
            };
            for (int d = 0; d < count; ++d) {
                if (reachesGoal(aim - d)) {
                    aim -= d;
                    break;
                }
                if (d > 0 && reachesGoal(aim + d)) {
                    aim += d;
                    break;
                }
            }
            route.aimAt(k, best[aim]);
        }
        // The window is told around its middle, wherever the aim fell.
        const int middle = (count - 1) / 2;
        out << k << ' ' << best[aim] << ' ' << middle << ' ' << count - 1 - middle << '\n';
    };
    SimulatedPlayer player(route, limitsAt(flawlessProfile(), 100), 0);
    const AttemptResult played = player.play(level, maxFrames, 1, hook);
    if (inStep && !played.finished) return std::string();
    return out.str();
}

}  // namespace

std::string LevelStudy::probeWindows() {
    // In a copy of this process, so the study's own state stays as it was.
    return inCopy([&] {
        Level* level = freshLevel();
        if (!level) return std::string();
        // The aimed play as a whole should get through; where it cannot (the
        // route's own moments do not in the closed loop), each press is
        // probed on the route's own play instead.
        const std::string inStep = inCopy([&] {
            return probeFrom(learned, *level, learned.frames(), probeHorizonFrames, true);
        });
        return inStep.empty() ? probeFrom(learned, *level, learned.frames(), probeHorizonFrames) : inStep;
    });
}

TightestPress LevelStudy::probePresses() {
    TightestPress tightest;
    windows.clear();
    const std::vector<Intent>& intents = learned.intents();
    std::istringstream probes(probeWindows());
    int k = 0, aim = 0, early = 0, late = 0;
    while (probes >> k >> aim >> early >> late) {
        if (k < 0 || k >= static_cast<int>(intents.size())) continue;
        learned.aimAt(k, aim);
        const Intent& intent = intents[k];
        windows.push_back({intent.frame, intent.x / tileSize, intent.y / tileSize, intent.input.jump, aim, early, late});
        const int frames = std::min(early, late);
        if (!tightest.known || frames < tightest.frames()) {
            tightest.known = true;
            tightest.early = early;
            tightest.late = late;
            tightest.col = intents[k].x / tileSize;
            tightest.row = intents[k].y / tileSize;
        }
    }
    // A way back aims as the route does once it has been on it a while;
    // before that its presses were probed on their own.
    for (RespawnRoute& back : respawns)
        back.route.copyAims(learned, back.joins - back.joinsAt, back.joins + probeHorizonFrames);
    return tightest;
}

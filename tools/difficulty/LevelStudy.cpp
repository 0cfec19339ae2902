#include "tools/difficulty/LevelStudy.h"

#include "level/Level.h"
#include "menus/Settings.h"
#include "shell/Clock.h"
#include "shell/Particles.h"
#include "things/Blobber.h"
#include "things/Chomper.h"
#include "things/Flapper.h"
#include "tools/common/Replay.h"
#include "tools/difficulty/SimulatedPlayer.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr int maxShiftFrames = 8;        // a press this far off either way counts as loose enough
constexpr int probeHorizonFrames = 90;   // 3 s after a shifted press without a death: survived
constexpr double onRouteTiles = 1.5;     // ... when the hero is this near the route by then
constexpr int framesPerRouteFrame = 20;  // an attempt may take this many times the route's length
constexpr int extraAttemptFrames = 3000; // ... and this many frames more
constexpr int simplifyGraceFrames = 60;  // a simpler run may take this much longer at its end
constexpr std::size_t maxDroppedTogether = 3;  // changes of keys tried away at once

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
    return reached;
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
                const AttemptResult r = player.play(*level, maxFrames, settings.maxDeaths);
                out << r.finished << ' ' << r.stuck << ' ' << r.deaths << ' ' << r.deathCells.size();
                for (const auto& [c, row] : r.deathCells) out << ' ' << c << ' ' << row;
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

std::vector<int> LevelStudy::pressMoments() const {
    // The flawless player's own press moments, in a copy of this process.
    const int maxFrames = learned.frames() * framesPerRouteFrame + extraAttemptFrames;
    int fds[2];
    if (pipe(fds) != 0) return {};
    std::fflush(nullptr);
    const pid_t child = fork();
    if (child == 0) {
        close(fds[0]);
        Level* level = freshLevel();
        std::ostringstream out;
        if (level) {
            SimulatedPlayer player(learned, limitsAt(flawlessProfile(), 100), 0);
            const AttemptResult r = player.play(*level, maxFrames, 1);
            out << (r.finished && r.deaths == 0);
            for (int f : player.pressFrames()) out << ' ' << f;
        }
        writeAll(fds[1], out.str());
        _exit(0);
    }
    close(fds[1]);
    if (child < 0) return {};
    std::istringstream in(collect(fds[0], child));
    int clean = 0;
    if (!(in >> clean) || !clean) return {};
    std::vector<int> pressed(learned.intents().size(), -1);
    for (int& f : pressed) in >> f;
    return pressed;
}

std::string LevelStudy::probeWindows(const std::vector<int>& pressed) const {
    // The same flawless play again; where a press is near, a copy of the
    // process per shifted moment plays on with that press moved.
    const int maxFrames = learned.frames() * framesPerRouteFrame + extraAttemptFrames;
    const std::vector<Intent>& intents = learned.intents();
    int fds[2];
    if (pipe(fds) != 0) return {};
    std::fflush(nullptr);
    const pid_t child = fork();
    if (child == 0) {
        close(fds[0]);
        Level* level = freshLevel();
        std::ostringstream out;
        if (level) {
            auto survives = [&](SimulatedPlayer& player, int k, int shift) {
                std::fflush(nullptr);
                const pid_t probe = fork();
                if (probe == 0) {
                    player.forcePress(k, pressed[k] + shift);
                    player.endAt(pressed[k] + shift + probeHorizonFrames);
                    const AttemptResult r = player.play(*level, maxFrames, 1);
                    // Alive is not enough: the hero must be back on the route
                    // and on its way, not stranded in a hole beside it.
                    int distance = 0;
                    const int along = player.routeFrame();
                    learned.nearest(*level, along, along, distance);
                    const bool onWay = r.finished || (distance <= onRouteTiles * tileSize &&
                                                      along >= intents[k].frame + probeHorizonFrames / 2);
                    _exit(r.deaths == 0 && onWay ? 0 : 1);
                }
                int status = 0;
                if (probe < 0 || waitpid(probe, &status, 0) < 0) return false;
                return WIFEXITED(status) && WEXITSTATUS(status) == 0;
            };
            SimulatedPlayer player(learned, limitsAt(flawlessProfile(), 100), 0);
            auto hook = [&](SimulatedPlayer& self, int frame) {
                for (int k = 0; k < static_cast<int>(intents.size()); ++k) {
                    if (pressed[k] < 0) continue;
                    // Every change of keys is probed, jumps and walks alike,
                    // from the frame the earliest shift needs, never before
                    // the press ahead of it (pressing both together is a chord).
                    const int before = k > 0 && pressed[k - 1] >= 0 ? pressed[k - 1] + 1 : 0;
                    const int earliest = std::max(before, pressed[k] - maxShiftFrames);
                    if (frame != earliest) continue;
                    int early = 0, late = 0;
                    while (early < maxShiftFrames && pressed[k] - early - 1 >= earliest &&
                           survives(self, k, -(early + 1)))
                        ++early;
                    if (early < maxShiftFrames && pressed[k] - early - 1 < earliest) early = maxShiftFrames;
                    while (late < maxShiftFrames && survives(self, k, late + 1)) ++late;
                    out << k << ' ' << early << ' ' << late << '\n';
                }
            };
            player.play(*level, maxFrames, 1, hook);
        }
        writeAll(fds[1], out.str());
        _exit(0);
    }
    close(fds[1]);
    if (child < 0) return {};
    return collect(fds[0], child);
}

TightestPress LevelStudy::probePresses() {
    TightestPress tightest;
    const std::vector<Intent>& intents = learned.intents();
    const std::vector<int> pressed = pressMoments();
    if (pressed.empty()) return tightest;
    std::istringstream probes(probeWindows(pressed));
    int k = 0, early = 0, late = 0;
    while (probes >> k >> early >> late) {
        if (k < 0 || k >= static_cast<int>(intents.size())) continue;
        learned.aimAt(k, (late - early) / 2);
        const int frames = (early + late) / 2;
        if (!tightest.known || frames < tightest.frames()) {
            tightest.known = true;
            tightest.early = early;
            tightest.late = late;
            tightest.col = intents[k].x / tileSize;
            tightest.row = intents[k].y / tileSize;
        }
    }
    return tightest;
}

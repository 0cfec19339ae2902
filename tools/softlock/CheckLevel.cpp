#include "tools/softlock/CheckLevel.h"

#include "level/Level.h"
#include "menus/Settings.h"
#include "shell/Clock.h"
#include "tools/common/Replay.h"
#include "tools/softlock/Examine.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <unistd.h>

namespace softlock {

std::string baseName(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    std::string file = slash == std::string::npos ? path : path.substr(slash + 1);
    const std::size_t dot = file.rfind('.');
    return dot == std::string::npos ? file : file.substr(0, dot);
}

namespace {

bool meantWithoutGoal(const std::string& path) {
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line))
        if (line.find("lint: no-goal") != std::string::npos) return true;
    return false;
}

// The level's solving run into solvingRun; an empty string, a note for the
// summary line, or (with an error) false when the run named on the command
// line cannot be read.
bool loadSolvingRun(std::string& note) {
    std::string replayPath = options.replayPath;
    if (replayPath.empty()) {
        const std::string guess =
            "tests/replays/" + levelName + "-" + std::to_string(options.size) + ".replay";
        if (access(guess.c_str(), R_OK) == 0) replayPath = guess;
    }
    if (replayPath.empty()) {
        note = "; no solving run, walks from the start only";
        return true;
    }
    Replay replay;
    std::string error;
    if (loadReplay(replayPath, replay, error)) {
        solvingRun = framesOf(replay);
    } else if (!options.replayPath.empty()) {
        std::printf("%s: %s: %s\n", levelName.c_str(), replayPath.c_str(), error.c_str());
        return false;
    } else {
        // The replay test reports a broken replay; here it only costs the detours.
        note = "; " + replayPath + " unreadable (" + error + "), walks from the start only";
    }
    return true;
}

// Every ground state of the solving run has a way out: the rest of the run.
void learnSolvingRun(std::string& note) {
    if (solvingRun.empty()) return;
    std::vector<Message> heard;
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
    for (const Message& m : heard) safe.insert(m.key);
}

// Points spread along the solving run where detours start, in halving
// order: the whole run is covered early, the gaps filled later.
std::vector<int> detourPoints() {
    const int frames = static_cast<int>(solvingRun.size());
    std::vector<int> points;
    if (frames == 0) return points;
    const int spacing = std::max(10, frames / 30);
    std::vector<int> along;
    for (int f = spacing; f < frames; f += spacing) along.push_back(f);
    std::vector<bool> taken(along.size(), false);
    for (std::size_t stride = along.size(); stride >= 1; stride /= 2) {
        for (std::size_t i = 0; i < along.size(); i += stride)
            if (!taken[i]) {
                taken[i] = true;
                points.push_back(along[i]);
            }
        if (stride == 1) break;
    }
    return points;
}

// What the rounds of walks found.
struct Tally {
    int examined = 0, fromStart = 0, softLocks = 0, undecided = 0;
    int counts[6] = {};
};

// The walk of one round: from the start every fourth round, else a detour
// from a point of the solving run; only the --at state when given.
Job jobFor(unsigned round, const std::vector<int>& points, std::size_t& next,
           const std::vector<FrameInput>& atFrames) {
    Job job;
    job.seed = options.seed * 7919u + round * 104729u + 17u;
    if (!atFrames.empty()) {
        job.prefix = &atFrames;
        job.segments = 1;
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
    return job;
}

void count(const std::vector<Message>& heard, Tally& tally) {
    for (const Message& m : heard) {
        if (m.kind == 1) safe.insert(m.key);
        if (m.kind != 2) continue;
        ++tally.examined;
        tally.fromStart += m.fromStart;
        ++tally.counts[m.verdict];
        if (m.verdict == Stranded || m.verdict == Undecided) ++reportNumber;
        if (m.verdict == Stranded) {
            ++tally.softLocks;
            stranded.insert(m.key);
        }
        if (m.verdict == Undecided) ++tally.undecided;
    }
}

// Walks and detours until the time is up or enough soft-locks are found.
Tally walk(const std::vector<FrameInput>& atFrames) {
    const std::vector<int> points = detourPoints();
    Tally tally;
    std::size_t next = 0;
    for (unsigned round = 0; secondsLeft() > 0 && round < 1000; ++round) {
        if (!atFrames.empty() && round > 0) break;
        const Job job = jobFor(round, points, next, atFrames);
        std::vector<Message> heard;
        inCopy([&job] { runJob(job); }, heard);
        count(heard, tally);
        if (tally.softLocks >= options.reports) break;
        if (options.examineLimit > 0 && tally.examined >= options.examineLimit) break;
    }
    return tally;
}

void summarise(const Tally& t, double took, const std::string& note) {
    const std::string verdict =
        t.softLocks ? std::to_string(t.softLocks) + (t.softLocks > 1 ? " SOFT-LOCKS" : " SOFT-LOCK")
                    : "no soft-lock";
    std::printf("%s: %s: %d states examined (%d on walks from the start, %d near the solving "
                "run; %d known safe, %d by a probe, %d by a search, %d undecided) in %.1f s%s\n",
                levelName.c_str(), verdict.c_str(), t.examined, t.fromStart,
                t.examined - t.fromStart, t.counts[Known] + t.counts[Repeated],
                t.counts[ByProbe], t.counts[BySearch], t.undecided, took, note.c_str());
}

}  // namespace

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
    std::string note;
    if (!loadSolvingRun(note)) return 2;
    learnSolvingRun(note);
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
    const Tally tally = walk(atFrames);
    summarise(tally, std::chrono::duration<double>(Clock::now() - started).count(), note);
    return tally.softLocks ? 1 : 0;
}

}  // namespace softlock

#include "shell/Replay.h"

#include "level/Level.h"
#include "menus/Settings.h"
#include "shell/Clock.h"
#include "shell/Game.h"
#include "shell/Headless.h"

#include <cstdio>
#include <fstream>
#include <iomanip>
#include <ostream>
#include <sstream>

namespace {

constexpr SDLKey dismissKey = SDLK_SPACE;  // what "a key" is when a replay dismisses a hint

bool parseRun(std::istringstream& words, int count, ReplayRun& run, std::string& bad) {
    run.frames = count;
    std::string word;
    while (words >> word) {
        for (char c : word) {
            switch (c) {
            case 'L': run.left = true; break;
            case 'R': run.right = true; break;
            case 'X': run.explodeAll = true; break;
            case 'J': run.jump = true; break;
            case 'Q': run.queryHint = true; break;
            case 'B': run.layBomb = true; break;
            case 'D': run.dismiss = true; break;
            case '-': break;
            default: bad = std::string(1, c); return false;
            }
        }
    }
    return true;
}

}  // namespace

int Replay::totalFrames() const {
    int total = 0;
    for (const ReplayRun& run : runs) total += run.frames;
    return total;
}

bool parseReplay(std::istream& in, Replay& replay, std::string& error) {
    std::string line;
    int lineNumber = 0;
    while (std::getline(in, line)) {
        ++lineNumber;
        const std::size_t hash = line.find('#');
        if (hash != std::string::npos) line.erase(hash);
        std::istringstream words(line);
        std::string first;
        if (!(words >> first)) continue;
        const std::string where = "line " + std::to_string(lineNumber) + ": ";
        if (first == "level") {
            if (!(words >> replay.levelPath)) {
                error = where + "level needs a file";
                return false;
            }
        } else if (first == "tilesize") {
            if (!(words >> replay.tileSize) || replay.tileSize <= 0) {
                error = where + "tilesize needs a positive number";
                return false;
            }
        } else if (first == "expect") {
            std::string what;
            words >> what;
            if (what != "goal" && what != "survive") {
                error = where + "expect takes goal or survive";
                return false;
            }
            replay.expectGoal = what == "goal";
        } else {
            std::istringstream number(first);
            int count = 0;
            if (!(number >> count) || !number.eof() || count <= 0) {
                error = where + "expected a frame count, found '" + first + "'";
                return false;
            }
            ReplayRun run;
            std::string bad;
            if (!parseRun(words, count, run, bad)) {
                error = where + "unknown input '" + bad + "'";
                return false;
            }
            replay.runs.push_back(run);
        }
    }
    if (replay.levelPath.empty()) {
        error = "no level line";
        return false;
    }
    return true;
}

bool loadReplay(const std::string& path, Replay& replay, std::string& error) {
    std::ifstream in(path);
    if (!in) {
        error = "cannot open " + path;
        return false;
    }
    return parseReplay(in, replay, error);
}

int levelNumberOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    const std::string file = slash == std::string::npos ? path : path.substr(slash + 1);
    int number = 0;
    if (std::sscanf(file.c_str(), "level%d.lvl", &number) == 1) return number;
    return 0;
}

ReplayOutcome runReplay(const Replay& replay, SDL_Surface* screen, std::ostream* trace,
                        const FrameObserver& observer) {
    ReplayOutcome outcome;
    tileSize = replay.tileSize;
    useManualClock(0);
    Level level(levelNumberOf(replay.levelPath), screen);
    if (!level.load(replay.levelPath)) {
        outcome.reason = "could not load " + replay.levelPath;
        return outcome;
    }
    Player& player = level.getPlayer();
    int lives = player.getLives();
    int frame = 0;
    for (const ReplayRun& run : replay.runs) {
        for (int i = 0; i < run.frames; ++i, ++frame) {
            holdKey(getUserKey(KeyLeft), run.left);
            holdKey(getUserKey(KeyRight), run.right);
            holdKey(getUserKey(KeyExplodeAll), run.explodeAll);
            if (i == 0) {
                if (run.jump) pressKey(getUserKey(KeyJump));
                if (run.queryHint) pressKey(getUserKey(KeyQueryHint));
                if (run.layBomb) pressKey(getUserKey(KeyLayBomb));
            }
            SDL_Event event;
            while (SDL_PollEvent(&event)) level.handleEvent(event);
            // Queued after the frame's own input, so only a hint box opened
            // in this step can take it.
            if (i == 0 && run.dismiss) pressKey(dismissKey);

            const int result = level.step();
            fillScreen(screen, backgroundColour(level.getLevelNumber()));
            level.draw();
            advanceClock(framePeriodMs);
            if (observer) observer(level);

            if (player.getLives() < lives) ++outcome.deaths;
            lives = player.getLives();
            if (trace) {
                const SDL_Rect* box = player.getRect();
                *trace << "frame " << frame + 1 << " x " << box->x << " y " << box->y
                       << std::fixed << std::setprecision(2) << " vx " << player.getVx()
                       << " vy " << player.getVy() << " status " << player.getStatus()
                       << " form " << player.getForm() << " lives " << player.getLives()
                       << " keys " << player.getKeys() << " bombs " << player.getBombs()
                       << " result " << result << '\n';
            }
            outcome.framesRun = frame + 1;
            if (level.isGameOver()) {
                outcome.reason = "game over at frame " + std::to_string(frame + 1);
                return outcome;
            }
            if (!replay.expectGoal && outcome.deaths > 0) {
                outcome.reason = "died at frame " + std::to_string(frame + 1);
                return outcome;
            }
            if (result == StepLevelDone) {
                outcome.success = replay.expectGoal;
                outcome.reason = replay.expectGoal
                                     ? "goal reached at frame " + std::to_string(frame + 1)
                                     : "reached a goal at frame " + std::to_string(frame + 1) +
                                           " in a replay meant to survive";
                return outcome;
            }
        }
    }
    holdKey(getUserKey(KeyLeft), false);
    holdKey(getUserKey(KeyRight), false);
    holdKey(getUserKey(KeyExplodeAll), false);
    if (replay.expectGoal) {
        outcome.reason = "goal not reached in " + std::to_string(frame) + " frames";
    } else {
        outcome.success = true;
        outcome.reason = "survived " + std::to_string(frame) + " frames";
    }
    return outcome;
}

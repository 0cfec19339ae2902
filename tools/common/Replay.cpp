#include "tools/common/Replay.h"

#include "level/Level.h"
#include "media/Text.h"
#include "menus/ControlsMenu.h"
#include "menus/MessageBox.h"
#include "menus/Settings.h"
#include "shell/Clock.h"
#include "shell/Game.h"
#include "shell/Frame.h"
#include "tools/common/Headless.h"
#include "shell/Particles.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <fstream>
#include <iomanip>
#include <memory>
#include <ostream>
#include <sstream>

namespace {

constexpr SDLKey dismissKey = SDLK_SPACE;  // what "a key" is when a replay dismisses a hint
constexpr SDLKey leaveMenuKey = SDLK_ESCAPE;  // closes the controls menu once the key is bound

// Where the controls menu draws an action's button: a click in its middle.
constexpr int bindingButtonMidX = 20 + 100 / 2;
int bindingButtonMidY(int action) { return 1 + 40 * action + 25 / 2; }

// An action as the controls menu captions it, blanks left out: Jump, QueryHint...; -1 if none.
int actionNamed(const std::string& word) {
    for (int i = 0; i < userKeyCount; ++i) {
        std::string caption = userKeyCaptions[i];
        caption.erase(std::remove(caption.begin(), caption.end(), ' '), caption.end());
        if (caption == word) return i;
    }
    return -1;
}

// A key by the name SDL shows for it: one character (w, 5, /), [0] to [9] for
// the keypad, or one of a few words; 0 if none.
int keyNamed(const std::string& word) {
    if (word.size() == 1 && word[0] > ' ' && word[0] < 127) {
        // SDL's code for a printable key is its lower-case character.
        return std::tolower(static_cast<unsigned char>(word[0]));
    }
    if (word.size() == 3 && word[0] == '[' && std::isdigit(static_cast<unsigned char>(word[1])) &&
        word[2] == ']') {
        // Listed, not counted from [0]: in the browser build's SDL the keypad's
        // 0 comes after its 9.
        static const int keypad[] = {SDLK_KP0, SDLK_KP1, SDLK_KP2, SDLK_KP3, SDLK_KP4,
                                     SDLK_KP5, SDLK_KP6, SDLK_KP7, SDLK_KP8, SDLK_KP9};
        return keypad[word[1] - '0'];
    }
    static const struct {
        const char* name;
        int key;
    } words[] = {{"space", SDLK_SPACE}, {"return", SDLK_RETURN}, {"tab", SDLK_TAB},
                 {"up", SDLK_UP},       {"down", SDLK_DOWN},     {"left", SDLK_LEFT},
                 {"right", SDLK_RIGHT}};
    for (const auto& named : words)
        if (word == named.name) return named.key;
    return 0;
}

// Plays the controls menu the way a player would: a click on the action's
// button, the new key, a key to leave. True when the binding took.
bool rebindInControlsMenu(const ReplayRun& run, SDL_Surface* screen) {
    SDL_Event click{};
    click.type = SDL_MOUSEBUTTONDOWN;
    click.button.type = SDL_MOUSEBUTTONDOWN;
    click.button.button = SDL_BUTTON_LEFT;
    click.button.state = SDL_PRESSED;
    click.button.x = bindingButtonMidX;
    click.button.y = static_cast<Uint16>(bindingButtonMidY(run.rebindAction));
    SDL_PushEvent(&click);
    pressKey(run.rebindKey);
    pressKey(leaveMenuKey);
    runControlsMenu(screen);
    SDL_Event leftOver;
    while (SDL_PollEvent(&leftOver)) {}
    return userKeys[run.rebindAction] == run.rebindKey;
}

// The bindings in force when a replay begins come back however it ends, so
// the next replay in the same process starts from them.
class KeepBindings {
public:
    KeepBindings() { std::copy(userKeys, userKeys + userKeyCount, saved); }
    ~KeepBindings() { std::copy(saved, saved + userKeyCount, userKeys); }

private:
    int saved[userKeyCount];
};

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
    ReplayRun rebind;  // a controls line waiting for its run
    int rebindLine = 0;
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
        } else if (first == "controls") {
            std::string action;
            std::string key;
            words >> action >> key;
            rebind.rebindAction = actionNamed(action);
            rebind.rebindKey = keyNamed(key);
            if (rebind.rebindAction < 0 || rebind.rebindKey == 0) {
                error = where + "controls takes an action (Jump, Left, Right, QueryHint, "
                                "LayBomb, ExplodeAll) and a key";
                return false;
            }
            if (rebindLine != 0) {
                error = where + "the controls line of line " + std::to_string(rebindLine) +
                        " has no run";
                return false;
            }
            rebindLine = lineNumber;
        } else {
            std::istringstream number(first);
            int count = 0;
            if (!(number >> count) || !number.eof() || count <= 0) {
                error = where + "expected a frame count, found '" + first + "'";
                return false;
            }
            ReplayRun run = rebind;
            run.line = lineNumber;
            rebind = ReplayRun();
            rebindLine = 0;
            std::string bad;
            if (!parseRun(words, count, run, bad)) {
                error = where + "unknown input '" + bad + "'";
                return false;
            }
            replay.runs.push_back(run);
        }
    }
    if (rebindLine != 0) {
        error = "line " + std::to_string(rebindLine) + ": controls is not followed by a run";
        return false;
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
    const KeepBindings keepBindings;
    tileSize = replay.tileSize;
    useManualClock(0);
    std::unique_ptr<Level> level(new Level(levelNumberOf(replay.levelPath), screen));
    if (!level->load(replay.levelPath)) {
        outcome.reason = "could not load " + replay.levelPath;
        return outcome;
    }
    Level* current = level.get();
    Player* player = &level->getPlayer();
    int lives = player->getLives();
    int frame = 0;
    for (const ReplayRun& run : replay.runs) {
        bool menuOpened = false;
        for (int i = 0; i < run.frames && !menuOpened; ++i, ++frame) {
            giveInput(frameOfRun(run, i));
            FrameHooks hooks;
            // Queued after the frame's own input, so only a hint box opened
            // in this step can take it.
            if (i == 0 && run.dismiss) hooks.beforeStep = [] { pressKey(dismissKey); };
            bool bound = true;
            hooks.afterStep = [&](const FrameOutcome& f) {
                if (f.step != StepOpenControls || run.rebindAction < 0) return true;
                // As in the game: the menu, then a fresh level in place of the old one.
                menuOpened = true;
                releaseHeldKeys();
                bound = rebindInControlsMenu(run, screen);
                level.reset();
                releaseMessageOverlay();
                clearParticles();
                level.reset(new Level(levelNumberOf(replay.levelPath), screen));
                level->load(replay.levelPath);
                current = level.get();
                player = &level->getPlayer();
                lives = player->getLives();
                if (trace) {
                    *trace << "controls menu: " << userKeyCaptions[run.rebindAction] << " is "
                           << keyName(userKeys[run.rebindAction]) << '\n';
                }
                return bound;
            };
            const int result = playFrame(current, screen, nullptr, hooks).step;
            if (!bound) {
                outcome.framesRun = frame + 1;
                outcome.reason = "line " + std::to_string(run.line) +
                                 ": the controls menu did not bind " +
                                 userKeyCaptions[run.rebindAction];
                return outcome;
            }
            if (observer) observer(*level);

            if (player->getLives() < lives) ++outcome.deaths;
            lives = player->getLives();
            if (trace) {
                const SDL_Rect* box = player->getRect();
                *trace << "frame " << frame + 1 << " x " << box->x << " y " << box->y
                       << std::fixed << std::setprecision(2) << " vx " << player->getVx()
                       << " vy " << player->getVy() << " status " << player->getStatus()
                       << " form " << player->getForm() << " lives " << player->getLives()
                       << " keys " << player->getKeys() << " bombs " << player->getBombs()
                       << " result " << result << '\n';
            }
            outcome.framesRun = frame + 1;
            if (level->isGameOver()) {
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
        if (run.rebindAction >= 0 && !menuOpened) {
            releaseHeldKeys();
            outcome.reason = "line " + std::to_string(run.line) +
                             ": the controls menu did not open in the run's " +
                             std::to_string(run.frames) + " frames";
            return outcome;
        }
    }
    releaseHeldKeys();
    if (replay.expectGoal) {
        outcome.reason = "goal not reached in " + std::to_string(frame) + " frames";
    } else {
        outcome.success = true;
        outcome.reason = "survived " + std::to_string(frame) + " frames";
    }
    return outcome;
}

FrameInput frameOfRun(const ReplayRun& run, int i) {
    FrameInput f;
    f.left = run.left;
    f.right = run.right;
    f.explodeAll = run.explodeAll;
    f.jump = i == 0 && run.jump;
    f.layBomb = i == 0 && run.layBomb;
    f.queryHint = i == 0 && run.queryHint;
    f.dismiss = i == 0 && run.dismiss;
    return f;
}

std::vector<FrameInput> framesOf(const Replay& replay) {
    std::vector<FrameInput> frames;
    for (const ReplayRun& run : replay.runs) {
        for (int i = 0; i < run.frames; ++i) frames.push_back(frameOfRun(run, i));
    }
    return frames;
}

void writeRuns(std::ostream& out, const std::vector<FrameInput>& frames) {
    std::size_t i = 0;
    while (i < frames.size()) {
        const FrameInput& a = frames[i];
        std::size_t j = i + 1;
        while (j < frames.size() && frames[j].holdsAsBefore(a) && !frames[j].pressesAnything()) ++j;
        out << j - i << ' ' << (a.left && a.right ? "LR" : a.left ? "L" : a.right ? "R" : "-");
        if (a.jump) out << " J";
        if (a.queryHint) out << " Q";
        if (a.layBomb) out << " B";
        if (a.dismiss) out << " D";
        if (a.explodeAll) out << " X";
        out << '\n';
        i = j;
    }
}

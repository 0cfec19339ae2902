#include "tools/common/LevelCheck.h"

#include "level/Level.h"
#include "level/Tiles.h"
#include "media/Images.h"
#include "menus/ActionNames.h"
#include "menus/Settings.h"
#include "things/Hint.h"
#include "things/Portal.h"
#include "tools/common/BlindJumps.h"
#include "tools/common/Replay.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>
#include <unistd.h>

namespace {

// The message box fits a sign's one line to the window: longer texts shrink
// below what a 320-pixel window can show legibly.
constexpr std::size_t longestReadableHint = 35;
constexpr int backgroundParallax = 6;  // the background moves a sixth as fast as the view
constexpr int signReach = 3;  // cells: a sign this near a take-off tells what lies ahead

bool solidForThePlayer(int value) { return tileInfo(value).playerBlock == PlayerBlock::Solid; }

bool imageExists(int size, const std::string& name) {
    const std::string base = "data/images/" + std::to_string(size) + "/" + name;
    return access((base + ".bmp").c_str(), R_OK) == 0 ||
           access((base + ".png").c_str(), R_OK) == 0;
}

struct Problems {
    LevelCheck& check;

    void add(LevelProblem::Severity severity, int col, int row, const std::string& text) {
        LevelProblem p;
        p.severity = severity;
        p.column = col;
        p.row = row;
        p.message = text;
        check.problems.push_back(p);
    }
    void error(int col, int row, const std::string& text) {
        add(LevelProblem::Error, col, row, text);
    }
    void warning(int col, int row, const std::string& text) {
        add(LevelProblem::Warning, col, row, text);
    }
};

// Says in a designer's words why the game's loader stopped, at its cell.
void reportLoadFailure(Problems& report, const LoadFailure& failure, const Level& level) {
    if (failure.kind == LoadFailure::None) return;
    const int x = failure.column;
    const int y = failure.row;
    report.error(x, y, describeLoadFailure(failure, x >= 0 ? level.getGrid()[x][y] : 0));
}

// Lines "lint: WHAT..." after the name mark warnings as intended; the game never reads them.
void readAllowedWarnings(const std::string& path, std::vector<std::string>& allowed) {
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream words(line);
        std::string first, what;
        if (words >> first && first == "lint:")
            while (words >> what) allowed.push_back(what);
    }
}

void checkHint(Problems& report, const Hint& hint, int x, int y) {
    // Measured as a player with the default keys reads it. The text holds a
    // blank before and after every word.
    const std::string shown = nameActions(hint.getText());
    const std::size_t length = shown.size() > 2 ? shown.size() - 2 : 0;
    if (length > longestReadableHint) {
        report.warning(x, y, "sign text of " + std::to_string(length) + " characters: at most " +
                                 std::to_string(longestReadableHint) +
                                 " stay readable at tile size 16");
    }
}

// A look must be there at both tile sizes, and its background tall enough
// that the parallax never shows it repeat: the view, plus a sixth of the
// level's height beyond the view.
void checkLook(Problems& report, const LevelCheck& check) {
    for (int size : {16, 32}) {
        if (!lookHasSize(check.look, size)) {
            report.error(-1, -1, "look \"" + check.look + "\" has no images at tile size " +
                                     std::to_string(size) + " (data/images/looks/" + check.look +
                                     "/" + std::to_string(size) + ")");
        }
    }
    SDL_Surface* backdrop = loadLookBackground(check.look);
    if (!backdrop) return;
    const int backdropHeight = backdrop->h;
    SDL_FreeSurface(backdrop);
    for (int size : {16, 32}) {
        const int view = windowRows * size;
        const int beyond = std::max(0, check.height * size - view);
        const int needed = view + beyond / backgroundParallax;
        if (backdropHeight < needed) {
            report.warning(-1, -1, "the level is taller than its background covers at tile size " +
                                       std::to_string(size) + ": the background of look \"" +
                                       check.look + "\" is " + std::to_string(backdropHeight) +
                                       " pixels high, the parallax needs " +
                                       std::to_string(needed));
        }
    }
}

void checkPortal(Problems& report, const Portal& portal, const LevelCheck& check, int x, int y) {
    // Where the game really sends the hero, in cells.
    const int col = portal.getTargetX() / tileSize;
    const int row = portal.getTargetY() / tileSize;
    const std::string target = "(" + std::to_string(col) + ", " + std::to_string(row) + ")";
    if (col < 0 || col >= check.width || row < 0 || row >= check.height) {
        report.error(x, y, "portal target " + target + " is outside the grid");
    } else if (solidForThePlayer(check.grid[col][row])) {
        report.error(x, y, "portal target " + target + " is inside a solid tile");
    } else if (col == x && row == y) {
        // The hero lands on the portal again at every step and never gets off it.
        report.error(x, y, "portal aimed at itself holds the hero for ever");
    } else if (check.grid[col][row] == KindPortal) {
        report.warning(x, y, "portal target " + target + " holds a portal: the hero is sent on at once");
    }
}

}  // namespace

int LevelCheck::errorCount() const {
    return static_cast<int>(std::count_if(problems.begin(), problems.end(),
                                          [](const LevelProblem& p) {
                                              return p.severity == LevelProblem::Error;
                                          }));
}

std::string formatProblem(const std::string& path, const LevelProblem& problem) {
    std::ostringstream line;
    line << path;
    if (problem.column >= 0) line << ':' << problem.column << ':' << problem.row;
    line << (problem.severity == LevelProblem::Error ? ": error: " : ": warning: ")
         << problem.message;
    return line.str();
}

LevelCheck checkLevelFile(const std::string& path) {
    LevelCheck check;
    Problems report{check};
    // The game's own loader reads the file, so the two cannot disagree; its
    // progress lines and failed media loads are nothing a designer needs here.
    std::ostringstream quiet;
    std::streambuf* out = std::cout.rdbuf(quiet.rdbuf());
    std::streambuf* err = std::cerr.rdbuf(quiet.rdbuf());
    Level level(0, nullptr);
    check.loaded = level.load(path);
    std::cout.rdbuf(out);
    std::cerr.rdbuf(err);

    const LoadFailure& failure = level.getLoadFailure();
    check.opened = failure.kind != LoadFailure::CannotOpen;
    if (!check.loaded) {
        reportLoadFailure(report, failure, level);
        return check;
    }
    check.width = level.getWidth();
    check.height = level.getHeight();
    check.grid = level.getGrid();
    check.name = level.getName();
    if (check.name.empty()) report.warning(-1, -1, "the level has no name");
    check.look = level.getLook();
    if (!check.look.empty()) checkLook(report, check);
    readAllowedWarnings(path, check.allowed);
    auto allowedWarning = [&](const std::string& what) {
        return std::find(check.allowed.begin(), check.allowed.end(), what) != check.allowed.end();
    };

    // Objects are made in the order of their cells, column by column.
    const ThingList& things = level.getThings();
    std::size_t nextThing = 0;
    int starts = 0, goals = 0, keys = 0, doors = 0;
    std::vector<std::string> missing;
    for (int x = 0; x < check.width; ++x) {
        for (int y = 0; y < check.height; ++y) {
            const int v = check.grid[x][y];
            if (v < 0 || v > lastKind) {
                report.error(x, y, "unknown cell value " + std::to_string(v));
            } else if (!findTile(v) && !findKind(v)) {
                report.warning(x, y, "cell value " + std::to_string(v) + " does nothing");
            }
            if (v == TileStart) ++starts;
            if (v == TileGoal) ++goals;
            if (v == TileKey) ++keys;
            if (v == KindDoor) ++doors;
            const Thing* thing = findKind(v) && nextThing < things.size() ? things[nextThing++]
                                                                           : nullptr;
            if (v == KindHint && thing) checkHint(report, static_cast<const Hint&>(*thing), x, y);
            if (v == KindPortal && thing) {
                checkPortal(report, static_cast<const Portal&>(*thing), check, x, y);
            }

            const TileInfo* tile = findTile(v);
            const std::string image = tile ? tile->image : kindImage(v);
            if (image.empty()) continue;
            for (int size : {16, 32}) {
                if (!imageExists(size, image) &&
                    std::find(missing.begin(), missing.end(), image) == missing.end()) {
                    missing.push_back(image);
                    report.error(x, y, "image \"" + image + "\" is missing at tile size " +
                                           std::to_string(size));
                }
            }
        }
    }

    if (starts == 0) {
        report.error(-1, -1, "no start cell (value " + std::to_string(TileStart) + ")");
    }
    if (starts > 1) report.warning(-1, -1, std::to_string(starts) + " start cells: the last one wins");
    if (goals == 0 && !allowedWarning("no-goal"))
        report.warning(-1, -1, "no goal (value " + std::to_string(TileGoal) +
                                   "); add a line \"lint: no-goal\" after the name if intended");
    if (doors > keys)
        report.error(-1, -1, std::to_string(doors) + " doors but only " + std::to_string(keys) +
                                 " keys in the level");
    return check;
}

std::string solvingReplayFor(const std::string& levelPath, const std::string& here) {
    const std::size_t slash = levelPath.find_last_of('/');
    const std::string folder = slash == std::string::npos ? "" : levelPath.substr(0, slash + 1);
    std::string stem = slash == std::string::npos ? levelPath : levelPath.substr(slash + 1);
    if (stem.size() > 4 && stem.compare(stem.size() - 4, 4, ".lvl") == 0) stem.erase(stem.size() - 4);
    const std::string beside = folder + stem + "-32.replay";
    if (access(beside.c_str(), R_OK) == 0) return beside;
    const std::string campaign = here + "/data/levels/";
    if (levelPath.compare(0, campaign.size(), campaign) == 0 ||
        levelPath.compare(0, 12, "data/levels/") == 0) {
        const std::string kept = here + "/tests/replays/" + stem + "-32.replay";
        if (access(kept.c_str(), R_OK) == 0) return kept;
    }
    return std::string();
}

void checkBlindJumps(LevelCheck& check, const std::string& replayPath, SDL_Surface* screen) {
    Replay replay;
    std::string error;
    if (!check.loaded || !loadReplay(replayPath, replay, error) || replay.tileSize != 32) return;
    Problems report{check};
    for (const BlindJump& jump : blindJumpsOf(replay, screen)) {
        // A sign near the take-off tells the player what lies ahead.
        bool told = false;
        for (int x = 0; x < check.width && !told; ++x) {
            for (int y = 0; y < check.height; ++y) {
                if (check.grid[x][y] != KindHint) continue;
                if (std::abs(x - jump.takeOffColumn) <= signReach &&
                    std::abs(y - jump.takeOffRow) <= signReach) {
                    told = true;
                    break;
                }
            }
        }
        if (told) continue;
        report.warning(jump.column, jump.row,
                       "blind jump at " + std::to_string(jump.column) + "," +
                           std::to_string(jump.row) + ": the solving run jumps at frame " +
                           std::to_string(jump.frame) + " from " +
                           std::to_string(jump.takeOffColumn) + "," +
                           std::to_string(jump.takeOffRow) +
                           " and lands out of sight; show the landing or put a sign there");
    }
}

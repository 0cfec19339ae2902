#include "level/LevelCheck.h"

#include "level/Tiles.h"
#include "things/Hint.h"

#include <algorithm>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace {

constexpr long maxCells = 4194304;  // larger grids are refused by the game

// The message box fits a sign's one line to the window: longer texts shrink
// below what a 320-pixel window can show legibly.
constexpr std::size_t longestReadableHint = 35;

bool solidForThePlayer(int value) { return tileInfo(value).playerBlock == PlayerBlock::Solid; }

bool imageExists(int size, const std::string& name) {
    const std::string base = "data/images/" + std::to_string(size) + "/" + name;
    return access((base + ".bmp").c_str(), R_OK) == 0 ||
           access((base + ".png").c_str(), R_OK) == 0;
}

// One character between values, as the game skips it; a CR before the line
// end belongs to the same separator.
void skipSeparator(std::istream& in) {
    if (in.get() == '\r' && in.peek() == '\n') in.get();
}

struct Scanner {
    LevelCheck& check;
    std::istream& in;

    void problem(LevelProblem::Severity severity, int col, int row, const std::string& text) {
        LevelProblem p;
        p.severity = severity;
        p.column = col;
        p.row = row;
        p.message = text;
        check.problems.push_back(p);
    }
    void error(int col, int row, const std::string& text) {
        problem(LevelProblem::Error, col, row, text);
    }
    void warning(int col, int row, const std::string& text) {
        problem(LevelProblem::Warning, col, row, text);
    }
};

struct Portal {
    int col, row, targetCol, targetRow;
};

}  // namespace

int LevelCheck::errorCount() const {
    return static_cast<int>(std::count_if(problems.begin(), problems.end(),
                                          [](const LevelProblem& p) {
                                              return p.severity == LevelProblem::Error;
                                          }));
}

int LevelCheck::countedProblems() const {
    return static_cast<int>(problems.size());
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
    std::ifstream in(path);
    Scanner scan{check, in};
    if (!in) {
        scan.error(-1, -1, "cannot open the file");
        return check;
    }
    check.opened = true;

    if (!(in >> check.width)) {
        scan.error(-1, -1, "the width is not a number");
        return check;
    }
    skipSeparator(in);
    if (!(in >> check.height)) {
        scan.error(-1, -1, "the height is not a number");
        return check;
    }
    if (check.width <= 0 || check.height <= 0 ||
        static_cast<long>(check.width) * check.height > maxCells) {
        scan.error(-1, -1, "the size " + std::to_string(check.width) + " by " +
                               std::to_string(check.height) + " is refused");
        return check;
    }

    check.grid.assign(check.width, std::vector<int>(check.height, 0));
    std::vector<Portal> portals;
    int starts = 0, goals = 0, keys = 0, doors = 0;
    bool complete = true;
    for (int x = 0; x < check.width && complete; ++x) {
        for (int y = 0; y < check.height; ++y) {
            int v = 0;
            if (!(in >> v)) {
                if (in.eof()) {
                    scan.error(x, y, "the file ends inside the grid");
                } else {
                    scan.error(x, y, "not a number");
                }
                complete = false;
                break;
            }
            check.grid[x][y] = v;
            if (v < 0 || v > lastKind) {
                scan.error(x, y, "unknown cell value " + std::to_string(v));
            } else if (!findTile(v) && !findKind(v)) {
                scan.warning(x, y, "cell value " + std::to_string(v) + " does nothing");
            }
            if (v == TileStart) ++starts;
            if (v == TileGoal) ++goals;
            if (v == TileKey) ++keys;
            if (v == KindDoor) ++doors;
            if (v == KindHint) {
                std::string word;
                std::string text;
                bool ended = false;
                while (in >> word) {
                    if (word == hintTerminator) {
                        ended = true;
                        break;
                    }
                    text += (text.empty() ? "" : " ") + word;
                }
                if (ended && text.size() > longestReadableHint) {
                    scan.warning(x, y, "sign text of " + std::to_string(text.size()) +
                                           " characters: at most " +
                                           std::to_string(longestReadableHint) +
                                           " stay readable at tile size 16");
                }
                if (!ended) {
                    scan.error(x, y, std::string("hint text without \"") + hintTerminator + "\"");
                    complete = false;
                    break;
                }
            } else if (v == KindPortal) {
                Portal portal{x, y, 0, 0};
                if (!(in >> portal.targetCol >> portal.targetRow)) {
                    scan.error(x, y, "portal without a target column and row");
                    complete = false;
                    break;
                }
                portals.push_back(portal);
            }
            if (in.eof()) {
                scan.error(x, y, "the file ends right after this cell: the game needs a line end "
                                 "and the name line after the grid");
                complete = false;
                break;
            }
        }
        if (complete) skipSeparator(in);
    }
    if (!complete) return check;

    std::getline(in, check.name);
    if (!check.name.empty() && check.name.back() == '\r') check.name.pop_back();
    if (check.name.empty()) scan.warning(-1, -1, "the level has no name");
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream words(line);
        std::string first, what;
        if (words >> first && first == "lint:")
            while (words >> what) check.allowed.push_back(what);
    }
    auto allowedWarning = [&](const std::string& what) {
        return std::find(check.allowed.begin(), check.allowed.end(), what) != check.allowed.end();
    };

    if (starts == 0) scan.error(-1, -1, "no start cell (value 4)");
    if (starts > 1) scan.warning(-1, -1, std::to_string(starts) + " start cells: the last one wins");
    if (goals == 0 && !allowedWarning("no-goal"))
        scan.warning(-1, -1, "no goal (value 7); add a line \"lint: no-goal\" after the name if intended");
    if (doors > keys)
        scan.error(-1, -1, std::to_string(doors) + " doors but only " + std::to_string(keys) +
                               " keys in the level");
    for (const Portal& p : portals) {
        if (p.targetCol < 0 || p.targetCol >= check.width || p.targetRow < 0 ||
            p.targetRow >= check.height) {
            scan.error(p.col, p.row, "portal target (" + std::to_string(p.targetCol) + ", " +
                                         std::to_string(p.targetRow) + ") is outside the grid");
        } else if (solidForThePlayer(check.grid[p.targetCol][p.targetRow])) {
            scan.error(p.col, p.row, "portal target (" + std::to_string(p.targetCol) + ", " +
                                         std::to_string(p.targetRow) + ") is inside a solid tile");
        }
    }

    std::vector<std::string> missing;
    for (int x = 0; x < check.width; ++x) {
        for (int y = 0; y < check.height; ++y) {
            const int v = check.grid[x][y];
            const TileInfo* tile = findTile(v);
            const std::string image = tile ? tile->image : kindImage(v);
            if (image.empty()) continue;
            for (int size : {16, 32}) {
                if (!imageExists(size, image) &&
                    std::find(missing.begin(), missing.end(), image) == missing.end()) {
                    missing.push_back(image);
                    scan.error(x, y, "image \"" + image + "\" is missing at tile size " +
                                         std::to_string(size));
                }
            }
        }
    }
    return check;
}

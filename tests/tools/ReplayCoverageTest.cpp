// The shipped levels and their recorded replays belong together: every level
// is solved (or, for the ending room, survived) at both tile sizes, and the
// campaign as a whole shows the player every tile and object it uses.
#include "level/Level.h"
#include "tools/common/LevelCheck.h"
#include "menus/Settings.h"
#include "tools/common/Replay.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <dirent.h>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

const int tileSizes[] = {16, 32};

std::vector<std::string> filesIn(const std::string& folder, const std::string& suffix) {
    std::vector<std::string> names;
    DIR* dir = opendir(folder.c_str());
    if (!dir) return names;
    while (dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (name.size() > suffix.size() &&
            name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0)
            names.push_back(name.substr(0, name.size() - suffix.size()));
    }
    closedir(dir);
    std::sort(names.begin(), names.end());
    return names;
}

std::string levelsDir() { return sourceDir() + "/data/levels"; }
std::string replaysDir() { return sourceDir() + "/tests/replays"; }

// The numbered levels in order: level01, level02, ...
std::vector<std::string> numberedLevels() {
    std::vector<std::string> levels;
    for (const std::string& name : filesIn(levelsDir(), ".lvl"))
        if (levelNumberOf(name + ".lvl") > 0) levels.push_back(name);
    return levels;
}

std::string lastLevel() {
    const std::vector<std::string> levels = numberedLevels();
    return levels.empty() ? "" : levels.back();
}

LevelCheck check(const std::string& level) {
    return checkLevelFile(levelsDir() + "/" + level + ".lvl");
}

std::multiset<int> cellValues(const LevelCheck& level) {
    std::multiset<int> values;
    for (const auto& column : level.grid) values.insert(column.begin(), column.end());
    return values;
}

Replay loadOrFail(const std::string& path) {
    Replay replay;
    std::string error;
    EXPECT_TRUE(loadReplay(path, replay, error)) << path << ": " << error;
    return replay;
}

}  // namespace

TEST(ReplayCoverage, EveryShippedLevelHasAReplayAtBothTileSizes) {
    const std::vector<std::string> levels = filesIn(levelsDir(), ".lvl");
    ASSERT_FALSE(levels.empty());
    const std::vector<std::string> replays = filesIn(replaysDir(), ".replay");
    for (const std::string& level : levels) {
        for (int size : tileSizes) {
            const std::string wanted = level + "-" + std::to_string(size);
            EXPECT_TRUE(std::binary_search(replays.begin(), replays.end(), wanted))
                << "no replay " << wanted << ".replay for " << level << ".lvl";
        }
    }
}

TEST(ReplayCoverage, EveryReplayNamesAShippedLevelAtTheSizeInItsName) {
    const std::vector<std::string> replays = filesIn(replaysDir(), ".replay");
    ASSERT_FALSE(replays.empty());
    for (const std::string& name : replays) {
        const Replay replay = loadOrFail(replaysDir() + "/" + name + ".replay");
        const std::size_t dash = name.rfind('-');
        ASSERT_NE(std::string::npos, dash) << name;
        const std::string level = name.substr(0, dash);
        EXPECT_EQ("data/levels/" + level + ".lvl", replay.levelPath) << name;
        EXPECT_EQ(name.substr(dash + 1), std::to_string(replay.tileSize)) << name;
        EXPECT_TRUE(check(level).opened) << name << " names a missing level " << replay.levelPath;
    }
}

TEST(ReplayCoverage, OnlyTheEndingRoomIsSurvivedInsteadOfSolved) {
    const std::string ending = lastLevel();
    for (const std::string& name : filesIn(replaysDir(), ".replay")) {
        const Replay replay = loadOrFail(replaysDir() + "/" + name + ".replay");
        const bool endingRoom = replay.levelPath == "data/levels/" + ending + ".lvl";
        EXPECT_EQ(!endingRoom, replay.expectGoal) << name;
        if (endingRoom) {
            EXPECT_GE(replay.totalFrames(), 2000) << name;
        }
    }
}

TEST(Campaign, NumberedLevelsRunWithoutAGapAndOnlyTheLastHasNoGoal) {
    const std::vector<std::string> levels = numberedLevels();
    ASSERT_GE(levels.size(), 13u) << "twelve levels and the ending room";
    for (std::size_t i = 0; i < levels.size(); ++i) {
        // advanceLevel stops at the first missing number, so a gap hides the rest.
        EXPECT_EQ(static_cast<int>(i + 1), levelNumberOf(levels[i] + ".lvl")) << levels[i];
        const LevelCheck level = check(levels[i]);
        EXPECT_FALSE(level.name.empty()) << levels[i];
        const bool hasGoal = cellValues(level).count(7) > 0;
        EXPECT_EQ(i + 1 < levels.size(), hasGoal) << levels[i];
    }
}

TEST(Campaign, ShowsEveryTileAndObjectKind) {
    std::multiset<int> seen;
    const std::vector<std::string> levels = numberedLevels();
    for (std::size_t i = 0; i + 1 < levels.size(); ++i) {
        const std::multiset<int> values = cellValues(check(levels[i]));
        seen.insert(values.begin(), values.end());
    }
    const int taught[] = {2,  3,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14, 15, 16, 17, 18, 19,
                          20, 21, 24, 25, 28, 29, 30, 31, 32, 33, 34, 35, 36};
    for (int value : taught) EXPECT_GT(seen.count(value), 0u) << "no level uses " << value;
}

TEST(Campaign, TheLastLevelBeforeTheEndingHoldsAMaimframeAndTheGotoTile) {
    const std::vector<std::string> levels = numberedLevels();
    ASSERT_GE(levels.size(), 2u);
    const std::multiset<int> values = cellValues(check(levels[levels.size() - 2]));
    EXPECT_EQ(1u, values.count(36));
    EXPECT_GT(values.count(24), 0u);
}

TEST(Campaign, TheEndingRoomCelebratesAndCannotHurt) {
    const std::multiset<int> values = cellValues(check(lastLevel()));
    EXPECT_GT(values.count(37), 0u) << "crabs";
    EXPECT_GT(values.count(15), 0u) << "flames";
    EXPECT_GT(values.count(35), 0u) << "milk";
    EXPECT_GT(values.count(28), 0u) << "signs";
    // A bomb laid where the hero stands kills a hero who stays: the last room
    // offers none, and nothing else there may end the game either.
    for (int harmful : {2, 12, 16, 18, 30, 31, 32, 33, 36}) {
        EXPECT_EQ(values.count(harmful), 0u) << "cell value " << harmful;
    }
}

TEST(MenuLevel, HoldsTheMenuObjectsAwayFromTheStartAndAGoal) {
    const LevelCheck menu = check("menu");
    ASSERT_TRUE(menu.opened);
    EXPECT_EQ(0u, menu.problems.size());
    int starts = 0;
    std::map<int, std::pair<int, int>> cellOf;
    for (int x = 0; x < menu.width; ++x) {
        for (int y = 0; y < menu.height; ++y) {
            const int v = menu.grid[x][y];
            if (v == 4) ++starts;
            if (v == 4 || v == 38 || v == 39 || v == 40 || v == 7) cellOf[v] = {x, y};
        }
    }
    ASSERT_EQ(1, starts);
    ASSERT_EQ(5u, cellOf.size()) << "start, goal, options, controls and continue";
    for (int kind : {38, 39, 40}) {
        const int dx = std::abs(cellOf[kind].first - cellOf[4].first);
        const int dy = std::abs(cellOf[kind].second - cellOf[4].second);
        // At least a tile of free space between start and object: a respawn never lands in a menu.
        EXPECT_GE(std::max(dx, dy), 2) << kind;
    }
}

// The menu's own replay is the first minute on a keyboard without a keypad:
// no jump until the controls menu has bound Jump to another key, then the flag.
TEST(MenuLevel, ReplayReachesTheGoalWithoutTheKeypad) {
    for (int size : tileSizes) {
        ScratchDir scratch;
        scratch.useShipped("levels");
        scratch.useShipped("images");
        scratch.useShipped("fonts");
        const Replay replay =
            loadOrFail(replaysDir() + "/menu-" + std::to_string(size) + ".replay");
        bool rebound = false;
        for (const ReplayRun& run : replay.runs) {
            if (run.rebindAction == KeyJump) rebound = true;
            EXPECT_TRUE(rebound || !run.jump) << size << ": a jump before the controls menu";
        }
        EXPECT_TRUE(rebound) << size;
        std::ostringstream trace;
        const ReplayOutcome outcome = runReplay(replay, SDL_GetVideoSurface(), &trace);
        EXPECT_TRUE(outcome.success) << size << ": " << outcome.reason;
        EXPECT_EQ(0, outcome.deaths);
        EXPECT_EQ(std::string::npos, trace.str().find("result 2")) << size;
    }
}

// Every menu object is there for the taking with A and D alone: a walk to the
// left ends in the continue sign; to the right, down the first drop and back
// left, in the options; down both drops and back left, in the controls.
TEST(MenuLevel, EveryMenuObjectCanBeReachedOnPurpose) {
    const struct {
        const char* runs;
        const char* wanted;
        const char* unwanted[2];
    } ways[] = {
        {"60 L\n", "result 4", {"result 2", "result 3"}},
        {"40 R\n60 L\n", "result 2", {"result 3", "result 4"}},
        {"80 R\n80 L\n", "result 3", {"result 2", "result 4"}},
    };
    for (int size : tileSizes) {
        for (const auto& way : ways) {
            ScratchDir scratch;
            scratch.useShipped("levels");
            scratch.useShipped("images");
            scratch.useShipped("fonts");
            Replay replay;
            std::string error;
            std::istringstream text("level data/levels/menu.lvl\ntilesize " +
                                    std::to_string(size) + "\n" + way.runs);
            ASSERT_TRUE(parseReplay(text, replay, error)) << error;
            std::ostringstream trace;
            const ReplayOutcome outcome = runReplay(replay, SDL_GetVideoSurface(), &trace);
            EXPECT_EQ(0, outcome.deaths);
            const std::string lines = trace.str();
            const std::size_t first = lines.find(way.wanted);
            EXPECT_NE(std::string::npos, first) << size << ": " << way.runs;
            for (const char* unwanted : way.unwanted) {
                EXPECT_EQ(std::string::npos, lines.substr(0, first).find(unwanted))
                    << size << ": " << way.runs;
            }
        }
    }
}

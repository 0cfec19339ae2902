#include "tools/common/LevelPack.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using Names = std::vector<std::string>;

std::vector<std::string> messages(const LevelPack& pack, LevelProblem::Severity severity) {
    std::vector<std::string> found;
    for (const LevelProblem& problem : pack.problems) {
        EXPECT_EQ(-1, problem.column) << "a pack's problem has no cell: " << problem.message;
        if (problem.severity == severity) found.push_back(problem.message);
    }
    return found;
}

bool mentions(const std::vector<std::string>& lines, const std::string& text) {
    return std::any_of(lines.begin(), lines.end(), [&](const std::string& line) {
        return line.find(text) != std::string::npos;
    });
}

}  // namespace

TEST(LevelPack, PlaysTheNumbersInOrderWithItsOwnMenuAndIgnoresOtherFiles) {
    const LevelPack pack = readLevelPack(
        {"level10.lvl", "menu.lvl", "level02.lvl", "castle-32.replay", ".", "..", "level01.lvl",
         "level03.lvl", "level04.lvl", "level05.lvl", "level06.lvl", "level07.lvl",
         "level08.lvl", "level09.lvl", "notes.txt"});
    EXPECT_TRUE(pack.ownMenu);
    EXPECT_TRUE(pack.problems.empty()) << pack.problems.front().message;
    ASSERT_EQ(10u, pack.levels.size());
    EXPECT_EQ("level01.lvl", pack.levels.front());
    EXPECT_EQ("level09.lvl", pack.levels[8]);
    EXPECT_EQ("level10.lvl", pack.levels.back());

    EXPECT_FALSE(readLevelPack({"level01.lvl"}).ownMenu) << "the game's menu stands in";
}

TEST(LevelPack, WithoutLevel01NothingIsPlayed) {
    for (const Names& names : {Names{}, Names{"menu.lvl"}, Names{"level02.lvl", "level03.lvl"}}) {
        const LevelPack pack = readLevelPack(names);
        EXPECT_TRUE(pack.levels.empty());
        const std::vector<std::string> errors = messages(pack, LevelProblem::Error);
        ASSERT_EQ(1u, errors.size()) << names.size() << " files";
        EXPECT_TRUE(mentions(errors, "no level01.lvl"));
    }
}

TEST(LevelPack, EachGapIsAnErrorAndThePackEndsAtTheFirst) {
    const LevelPack pack =
        readLevelPack({"level01.lvl", "level02.lvl", "level04.lvl", "level07.lvl"});
    EXPECT_EQ((Names{"level01.lvl", "level02.lvl"}), pack.levels);
    const std::vector<std::string> errors = messages(pack, LevelProblem::Error);
    ASSERT_EQ(2u, errors.size());
    EXPECT_TRUE(mentions(errors, "level03.lvl is missing: the game ends the pack before level04.lvl"));
    EXPECT_TRUE(mentions(errors, "level05.lvl to level06.lvl are missing"));
}

TEST(LevelPack, LevelFilesTheGameNeverAsksForAreWarnings) {
    const LevelPack pack = readLevelPack(
        {"level01.lvl", "level2.lvl", "level002.lvl", "level00.lvl", "castle.lvl", "Menu.lvl"});
    EXPECT_EQ((Names{"level01.lvl"}), pack.levels);
    EXPECT_FALSE(pack.ownMenu) << "names are case-sensitive, as the game opens them";
    EXPECT_TRUE(messages(pack, LevelProblem::Error).empty());
    const std::vector<std::string> warnings = messages(pack, LevelProblem::Warning);
    EXPECT_EQ(5u, warnings.size());
    for (const char* name : {"level2.lvl", "level002.lvl", "level00.lvl", "castle.lvl", "Menu.lvl"})
        EXPECT_TRUE(mentions(warnings, std::string(name) + " is never played")) << name;
}

TEST(LevelPack, ReadsAFolderOnDisk) {
    ScratchDir scratch;
    ASSERT_EQ(0, mkdir("pack", 0755));
    for (const char* name : {"pack/level01.lvl", "pack/level02.lvl", "pack/menu.lvl"})
        scratch.write(name, "1 1\n0\nRoom\n");
    const LevelPack pack = readLevelPackFolder("pack");
    EXPECT_TRUE(pack.ownMenu);
    EXPECT_EQ((Names{"level01.lvl", "level02.lvl"}), pack.levels);

    EXPECT_TRUE(mentions(messages(readLevelPackFolder("nowhere"), LevelProblem::Error),
                         "cannot read the folder"));
}

// The checker on a pack, as a level maker runs it from another folder: the
// pack's problems, then each level's under the name the maker typed.
TEST(LevelPack, TheCheckerReadsAPackWithTheGameImagesFromElsewhere) {
    const std::string lint = buildDir() + "/curdovar-lint";
    ASSERT_EQ(0, access(lint.c_str(), X_OK)) << "build the curdovar-lint target first";
    ScratchDir scratch;
    ASSERT_EQ(0, mkdir("pack", 0755));
    const std::string room = "3 3\n1 1 1\n4 0 7\n1 1 1\nRoom\n";
    scratch.write("pack/level01.lvl", room);
    scratch.write("pack/level02.lvl", room);
    scratch.write("pack/level04.lvl", "3 3\n1 1 1\n4 0 0\n1 1 1\nNo_Goal\n");
    auto run = [&](std::string& out) {
        const std::string command =
            "'" + lint + "' --data '" + sourceDir() + "' pack >lint.log 2>&1";
        const int status = std::system(command.c_str());
        out = scratch.read("lint.log");
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    };
    std::string out;
    EXPECT_EQ(1, run(out)) << out;
    EXPECT_NE(std::string::npos, out.find("pack: error: level03.lvl is missing")) << out;
    EXPECT_EQ(std::string::npos, out.find("pack/level04.lvl:"))
        << "a level after the gap is never played, so never checked: " << out;

    scratch.write("pack/level03.lvl", "3 3\n1 1 1\n4 0 0\n1 1 1\nNo_Goal\n");
    EXPECT_EQ(1, run(out)) << out;
    EXPECT_NE(std::string::npos, out.find("pack/level03.lvl: ")) << out;

    unlink("pack/level03.lvl");
    unlink("pack/level04.lvl");
    scratch.write("pack/menu.lvl", room);
    EXPECT_EQ(0, run(out)) << out;
    EXPECT_NE(std::string::npos, out.find("3 level file(s) clean")) << out;
}

// curdovar-difficulty on made-up rooms whose answers are known: a corridor
// is finished by everyone, wider gaps, more noise and an enemy never make a
// room easier, a slower game never makes it harder, a room without a way
// gives nobody the goal, and the numbers follow from the seed alone.
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

std::string tool() { return buildDir() + "/curdovar-difficulty"; }

// Row by row sketch to the column-per-line file format; '#' wall, '@' start,
// 'G' goal, '^' spikes, '|' enemy stopper, 'c' Chomper, 'T' curdotree.
std::string levelFile(const std::vector<std::string>& rows) {
    std::ostringstream out;
    const int w = static_cast<int>(rows[0].size()), h = static_cast<int>(rows.size());
    out << w << ' ' << h << '\n';
    for (int x = 0; x < w; ++x) {
        for (int y = 0; y < h; ++y) {
            const char c = rows[y][x];
            const int v = c == '#' ? 1 : c == '@' ? 4 : c == 'G' ? 7 : c == '^' ? 2
                        : c == '|' ? 14 : c == 'c' ? 31 : c == 'T' ? 25 : 0;
            out << v << (y + 1 < h ? ' ' : '\n');
        }
    }
    out << "Made up\n";
    return out.str();
}

// A floor with a spiked gap `width` tiles wide from column 15, crossed by a
// running jump.
std::vector<std::string> gapRoom(int width) {
    return {std::string(40, '#'), "#" + std::string(38, ' ') + "#",
            "#" + std::string(38, ' ') + "#", "#" + std::string(38, ' ') + "#",
            "#@" + std::string(36, ' ') + "G#",
            std::string(15, '#') + std::string(width, ' ') + std::string(25 - width, '#'),
            std::string(15, '#') + std::string(width, '^') + std::string(25 - width, '#')};
}

// The route of a gap room: run, jump two tiles before the gap, run on.
const char* const gapRoute = "32 R\n1 R J\n60 R\n";

struct Figures {
    bool found = false;
    std::string line;  // the whole object
    double oneLife = -1;
    double deaths = -1;  // -1 for null
    bool route = false;
};

double numberAfter(const std::string& line, const std::string& key) {
    const std::size_t at = line.find("\"" + key + "\": ");
    if (at == std::string::npos) return -2;
    const std::string rest = line.substr(at + key.size() + 4);
    if (rest.compare(0, 4, "null") == 0) return -1;
    return std::atof(rest.c_str());
}

Figures figuresOf(const std::string& json, const std::string& level, const std::string& profile) {
    std::istringstream lines(json);
    std::string line;
    Figures f;
    while (std::getline(lines, line)) {
        if (line.find("\"level\": \"" + level + "\"") == std::string::npos ||
            line.find("\"profile\": \"" + profile + "\"") == std::string::npos)
            continue;
        f.found = true;
        f.line = line;
        f.oneLife = numberAfter(line, "goal_one_life");
        f.deaths = numberAfter(line, "deaths_to_finish");
        f.route = line.find("\"route\": true") != std::string::npos;
    }
    return f;
}

class Difficulty : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(0, access(tool().c_str(), X_OK)) << "build the curdovar-difficulty target first";
        scratch.useShipped("images");
        scratch.useShipped("fonts");
        ASSERT_EQ(0, system("mkdir -p routes"));
        scratch.write("data/levels/corridor.lvl", levelFile({
            "##############################",
            "#                            #",
            "#@                          G#",
            "##############################",
        }));
        scratch.write("routes/corridor-32.replay",
                      "level data/levels/corridor.lvl\ntilesize 32\nexpect goal\n100 R\n");
        for (int width : {2, 4, 6}) {
            const std::string name = "gap" + std::to_string(width);
            scratch.write("data/levels/" + name + ".lvl", levelFile(gapRoom(width)));
            scratch.write("routes/" + name + "-32.replay", "level data/levels/" + name +
                                                               ".lvl\ntilesize 32\nexpect goal\n" +
                                                               gapRoute);
        }
    }

    // The tool's standard output; its exit status must be 0.
    std::string run(const std::string& args) {
        const std::string command = "'" + tool() + "' --json --replays routes " + args +
                                    " >out.json 2>err.log";
        EXPECT_EQ(0, system(command.c_str())) << scratch.read("err.log");
        return scratch.read("out.json");
    }

    ScratchDir scratch;
};

}  // namespace

TEST_F(Difficulty, EveryoneFinishesAFlatCorridorInTheFirstLife) {
    const std::string json = run("--attempts 30 data/levels/corridor.lvl");
    for (const char* profile : {"novice", "casual", "expert"}) {
        const Figures f = figuresOf(json, "corridor", profile);
        ASSERT_TRUE(f.found) << profile << " missing in\n" << json;
        EXPECT_EQ(1.0, f.oneLife) << f.line;
        EXPECT_EQ(0.0, f.deaths) << f.line;
        EXPECT_NE(std::string::npos, f.line.find("\"attempts\": 30")) << f.line;
    }
}

TEST_F(Difficulty, WiderGapsAreNeverEasierAndNoviceFallsMoreThanExpert) {
    // The sampling error of 200 attempts is a few per cent; the margin allows for it.
    constexpr double margin = 0.05;
    const std::string json =
        run("--attempts 200 data/levels/gap2.lvl data/levels/gap4.lvl data/levels/gap6.lvl");
    for (const char* profile : {"novice", "casual"}) {
        const Figures narrow = figuresOf(json, "gap2", profile);
        const Figures middle = figuresOf(json, "gap4", profile);
        const Figures wide = figuresOf(json, "gap6", profile);
        ASSERT_TRUE(narrow.found && middle.found && wide.found) << json;
        EXPECT_LE(middle.oneLife, narrow.oneLife + margin) << profile;
        EXPECT_LE(wide.oneLife, middle.oneLife + margin) << profile;
        EXPECT_GE(wide.deaths, narrow.deaths - margin) << profile;
    }
    // The widest gap costs a novice lives, and more of them than an expert.
    const Figures novice = figuresOf(json, "gap6", "novice");
    const Figures expert = figuresOf(json, "gap6", "expert");
    EXPECT_LT(novice.oneLife, 1.0) << novice.line;
    EXPECT_LT(novice.oneLife, expert.oneLife) << novice.line << '\n' << expert.line;
    EXPECT_NE(std::string::npos, novice.line.find("\"row\": ")) << "no death place in " << novice.line;
}

TEST_F(Difficulty, MoreNoiseNeverHelpsAndASlowerGameNeverHurts) {
    constexpr double margin = 0.05;
    double before = 2;
    std::vector<double> chances;
    for (const char* spread : {"0", "45", "120"}) {
        const Figures f = figuresOf(run(std::string("--profile casual --attempts 150 --spread-ms ") +
                                        spread + " data/levels/gap6.lvl"),
                                    "gap6", "casual");
        ASSERT_TRUE(f.found);
        EXPECT_LE(f.oneLife, before + margin) << "spread " << spread << " ms: " << f.line;
        before = f.oneLife;
        chances.push_back(f.oneLife);
    }
    EXPECT_EQ(1.0, chances.front()) << "no spread: the route itself";
    EXPECT_LT(chances.back(), chances.front() - margin);
    // At half speed the same person has twice the frames for everything.
    const Figures full = figuresOf(run("--profile novice --attempts 150 --spread-ms 120 "
                                       "data/levels/gap6.lvl"), "gap6", "novice");
    const Figures half = figuresOf(run("--profile novice --attempts 150 --spread-ms 120 "
                                       "--speed 50 data/levels/gap6.lvl"), "gap6", "novice");
    EXPECT_GT(half.oneLife, full.oneLife) << full.line << '\n' << half.line;
    EXPECT_NE(std::string::npos, half.line.find("\"speed\": 50")) << half.line;
}

TEST_F(Difficulty, AnEnemyInTheWayCostsLivesAndAFlawlessPlayerStillPasses) {
    scratch.write("data/levels/chomper.lvl", levelFile({
        "##############################",
        "#                            #",
        "#                            #",
        "#                            #",
        "#@     |    c      |        G#",
        "##############################",
    }));
    // As curdovar-solve found it: over the Chomper with a braked jump.
    scratch.write("routes/chomper-32.replay", "level data/levels/chomper.lvl\ntilesize 32\n"
                                              "expect goal\n24 R\n4 - J\n4 L\n4 R\n8 -\n16 R\n");
    const std::string json = run("--attempts 60 data/levels/chomper.lvl data/levels/corridor.lvl");
    const Figures enemy = figuresOf(json, "chomper", "novice");
    ASSERT_TRUE(enemy.found && enemy.route) << json << scratch.read("err.log");
    EXPECT_LT(enemy.oneLife, figuresOf(json, "corridor", "novice").oneLife) << enemy.line;
    const std::string flawless = run("--profile flawless --attempts 3 data/levels/chomper.lvl "
                                     "data/levels/gap6.lvl");
    for (const char* level : {"chomper", "gap6"}) {
        const Figures f = figuresOf(flawless, level, "flawless");
        EXPECT_EQ(1.0, f.oneLife) << f.line;
    }
}

TEST_F(Difficulty, AfterADeathPastACurdotreeThePlayerComesBackFromTheTree) {
    // The gap is crossed at a run; the tree stands still, so after a death
    // the player needs a way of its own from there, found by the study.
    std::vector<std::string> rows = gapRoom(6);
    rows[4][8] = 'T';
    scratch.write("data/levels/tree.lvl", levelFile(rows));
    scratch.write("routes/tree-32.replay",
                  "level data/levels/tree.lvl\ntilesize 32\nexpect goal\n" + std::string(gapRoute));
    const Figures f = figuresOf(run("--profile novice --attempts 40 --spread-ms 150 data/levels/tree.lvl"),
                                "tree", "novice");
    ASSERT_TRUE(f.found && f.route) << scratch.read("err.log");
    EXPECT_EQ(1.0, numberAfter(f.line, "ways_back")) << f.line;
    EXPECT_GT(f.deaths, 0.0) << "this much noise must cost lives: " << f.line;
    EXPECT_EQ(1.0, numberAfter(f.line, "finished")) << "every death at the gap came back from the tree and "
                                                       "got over in the end: " << f.line;
    EXPECT_EQ(0.0, numberAfter(f.line, "stuck")) << f.line;
}

TEST_F(Difficulty, ARoomWithoutAWayToTheGoalGivesNobodyTheGoal) {
    // No recorded route: the solver looks for one and finds none.
    scratch.write("data/levels/walled.lvl", levelFile({
        "############",
        "#     #    #",
        "#     #    #",
        "#@    #  G #",
        "############",
    }));
    const Figures f = figuresOf(run("--profile casual --solve-seconds 3 data/levels/walled.lvl"),
                                "walled", "casual");
    ASSERT_TRUE(f.found);
    EXPECT_FALSE(f.route) << f.line;
    EXPECT_EQ(0.0, f.oneLife) << f.line;
    EXPECT_EQ(-1.0, f.deaths) << "deaths to finish is null without a route: " << f.line;
}

TEST_F(Difficulty, TheSeedAloneDecidesTheNumbers) {
    const std::string args = "--profile novice --attempts 60 --spread-ms 120 data/levels/gap6.lvl";
    const std::string first = run("--seed 7 " + args);
    EXPECT_EQ(first, run("--seed 7 --jobs 1 " + args)) << "the number of jobs changed the numbers";
    // Other seeds give other people: not every one of them can fare alike.
    const std::string other = run("--seed 8 " + args), third = run("--seed 9 " + args);
    const auto chance = [](const std::string& json) { return figuresOf(json, "gap6", "novice").line; };
    EXPECT_FALSE(chance(first) == chance(other) && chance(other) == chance(third)) << first;
}

TEST_F(Difficulty, TheDeathMapIsASmallPictureOfTheRoom) {
    run("--profile novice --attempts 20 --spread-ms 120 --map deaths.png data/levels/gap6.lvl");
    const std::string png = scratch.read("deaths.png");
    ASSERT_GT(png.size(), 24u);
    EXPECT_EQ(std::string("\x89PNG\r\n\x1a\n", 8), png.substr(0, 8));
    // IHDR: width and height big-endian after the signature and chunk header.
    auto big32 = [&](std::size_t at) {
        return (static_cast<unsigned char>(png[at]) << 24) | (static_cast<unsigned char>(png[at + 1]) << 16) |
               (static_cast<unsigned char>(png[at + 2]) << 8) | static_cast<unsigned char>(png[at + 3]);
    };
    EXPECT_EQ(40u * 4, static_cast<unsigned>(big32(16)));
    EXPECT_EQ(7u * 4, static_cast<unsigned>(big32(20)));
}

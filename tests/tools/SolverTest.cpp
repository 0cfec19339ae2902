// curdovar-solve on small rooms: what it writes must really solve the room
// when played by the replay runner, waypoints must steer it, and a room
// without a way to the goal must end in a refusal, not a bogus replay.
#include "tools/common/Replay.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

std::string solver() { return buildDir() + "/curdovar-solve"; }

// Runs the solver in the scratch directory; its exit status.
int solve(const std::string& level, int size, const std::string& out, const std::string& extra) {
    const std::string command = "'" + solver() + "' data/levels/" + level + " " +
                                std::to_string(size) + " " + out + " --seconds 120 " + extra +
                                " >solver.log 2>&1";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

ReplayOutcome play(const std::string& path, std::string* trace = nullptr) {
    Replay replay;
    std::string error;
    EXPECT_TRUE(loadReplay(path, replay, error)) << error;
    std::ostringstream lines;
    const ReplayOutcome outcome = runReplay(replay, SDL_GetVideoSurface(), &lines);
    if (trace) *trace = lines.str();
    return outcome;
}

// Row by row sketch to the column-per-line file format; '#' wall, '@' start,
// 'G' goal, 'k' key, 'D' door, '^' spikes.
std::string levelFile(const std::vector<std::string>& rows, const std::string& name) {
    std::ostringstream out;
    const int w = static_cast<int>(rows[0].size()), h = static_cast<int>(rows.size());
    out << w << ' ' << h << '\n';
    for (int x = 0; x < w; ++x) {
        for (int y = 0; y < h; ++y) {
            const char c = rows[y][x];
            const int v = c == '#' ? 1 : c == '@' ? 4 : c == 'G' ? 7 : c == 'k' ? 6
                        : c == 'D' ? 34 : c == '^' ? 2 : 0;
            out << v << (y + 1 < h ? ' ' : '\n');
        }
    }
    out << name << '\n';
    return out.str();
}

class Solver : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(0, access(solver().c_str(), X_OK)) << "build the curdovar-solve target first";
        scratch.useShipped("images");
        scratch.useShipped("fonts");
    }
    ScratchDir scratch;
};

}  // namespace

TEST_F(Solver, FindsAWayOverAStepAndAPitThatTheReplayRunnerConfirms) {
    scratch.write("data/levels/level01.lvl", levelFile({
        "################",
        "#              #",
        "#              #",
        "#              #",
        "#@    #     G  #",
        "#######   ######",
    }, "Pit"));
    for (int size : {32, 16}) {
        const std::string out = "pit-" + std::to_string(size) + ".replay";
        ASSERT_EQ(0, solve("level01.lvl", size, out, "--beam 10")) << scratch.read("solver.log");
        const ReplayOutcome outcome = play(out);
        EXPECT_TRUE(outcome.success) << size << ": " << outcome.reason;
        EXPECT_EQ(0, outcome.deaths);
        Replay replay;
        std::string error;
        ASSERT_TRUE(loadReplay(out, replay, error));
        EXPECT_EQ(size, replay.tileSize);
        EXPECT_EQ("data/levels/level01.lvl", replay.levelPath);
    }
}

TEST_F(Solver, WaypointsLeadItToTheKeyBeforeTheDoor) {
    // The key lies behind the start; walking straight for the flag only meets the door.
    scratch.write("data/levels/level01.lvl", levelFile({
        "##################",
        "#k  @     D     G#",
        "##################",
    }, "Key"));
    ASSERT_EQ(0, solve("level01.lvl", 32, "key.replay", "--beam 10 --via 1,1"))
        << scratch.read("solver.log");
    std::string trace;
    const ReplayOutcome outcome = play("key.replay", &trace);
    EXPECT_TRUE(outcome.success) << outcome.reason;
    EXPECT_NE(std::string::npos, trace.find("keys 1")) << "the key was never taken";
}

TEST_F(Solver, PartialSearchStopsAtTheLastWaypoint) {
    scratch.write("data/levels/level01.lvl", levelFile({
        "####################",
        "#                  #",
        "#@                G#",
        "####################",
    }, "Corridor"));
    ASSERT_EQ(0, solve("level01.lvl", 32, "half.replay", "--beam 5 --via 8,2 --partial"))
        << scratch.read("solver.log");
    std::string trace;
    const ReplayOutcome outcome = play("half.replay", &trace);
    EXPECT_FALSE(outcome.success) << "a partial replay ends before the goal";
    // By the last frame the hero's box has reached column 8 (its last run may
    // carry it a little further), and it is still far from the flag.
    const std::size_t last = trace.rfind("frame ");
    ASSERT_NE(std::string::npos, last);
    std::istringstream line(trace.substr(last));
    std::string word;
    int frame = 0, x = 0;
    line >> word >> frame >> word >> x;
    EXPECT_GT(x, 7 * 32);
    EXPECT_LT(x, 14 * 32);
}

TEST_F(Solver, RefusesARoomWhoseGoalCannotBeReached) {
    scratch.write("data/levels/level01.lvl", levelFile({
        "############",
        "#     #    #",
        "#     #    #",
        "#     #    #",
        "#@    #  G #",
        "############",
    }, "Walled"));
    EXPECT_EQ(1, solve("level01.lvl", 32, "none.replay", "--beam 5 --rounds 20"));
    EXPECT_FALSE(scratch.exists("none.replay"));
}

TEST_F(Solver, NeverKeepsAWayThroughADeath) {
    // Spikes instead of floor between start and goal: walking on kills, only a jump is safe.
    scratch.write("data/levels/level01.lvl", levelFile({
        "############",
        "#          #",
        "#          #",
        "#@       G #",
        "####^^^#####",
    }, "Spikes"));
    ASSERT_EQ(0, solve("level01.lvl", 32, "spikes.replay", "--beam 10"))
        << scratch.read("solver.log");
    const ReplayOutcome outcome = play("spikes.replay");
    EXPECT_TRUE(outcome.success) << outcome.reason;
    EXPECT_EQ(0, outcome.deaths);
}

// curdovar-softlock on two small rooms. In the first, the only bomb must
// blow a cracked wall two cells thick from right beside it; laid anywhere
// else it is wasted and the hero is shut in a room with nothing that kills:
// the tool must say so, with a replay that really leads into that room. The
// second is the same room with a pit in its floor, so a wasted bomb leaves
// a death within reach: it must pass.
#include "tools/common/Replay.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

std::string tool() { return buildDir() + "/curdovar-softlock"; }

class SoftLock : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(0, access(tool().c_str(), X_OK)) << "build the curdovar-softlock target first";
        scratch.useShipped("images");
        scratch.useShipped("fonts");
    }

    // Copies a test room into the scratch directory and checks it; the exit status.
    int check(const std::string& room, int seconds) {
        std::ifstream in(sourceDir() + "/tests/tools/levels/" + room);
        std::stringstream text;
        text << in.rdbuf();
        scratch.write(room, text.str());
        const std::string command = "'" + tool() + "' --seconds " + std::to_string(seconds) +
                                    " --out found " + room + " >softlock.log 2>&1";
        const int status = std::system(command.c_str());
        log = scratch.read("softlock.log");
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    ScratchDir scratch;
    std::string log;
};

// The number after `word` in a line of text.
int numberAfter(const std::string& line, const std::string& word) {
    const std::size_t at = line.find(" " + word + " ");
    return at == std::string::npos ? -1 : std::atoi(line.c_str() + at + word.size() + 2);
}

}  // namespace

TEST_F(SoftLock, ReportsTheRoomAWastedBombSealsWithAReplayIntoIt) {
    // The check stops at the first soft-lock; time enough to find it on a busy machine.
    ASSERT_EQ(1, check("stranded.lvl", 120)) << log;
    const std::size_t cellAt = log.find("SOFT-LOCK: hero in cell (");
    ASSERT_NE(std::string::npos, cellAt) << log;
    int col = -1, row = -1;
    ASSERT_EQ(2, std::sscanf(log.c_str() + cellAt, "SOFT-LOCK: hero in cell (%d, %d)", &col, &row));
    const std::string mark = "the way into it: ";
    const std::size_t pathAt = log.find(mark);
    ASSERT_NE(std::string::npos, pathAt) << log;
    const std::string replayPath =
        log.substr(pathAt + mark.size(), log.find(' ', pathAt + mark.size()) - pathAt - mark.size());

    Replay replay;
    std::string error;
    ASSERT_TRUE(loadReplay(replayPath, replay, error)) << error;
    std::ostringstream trace;
    const ReplayOutcome outcome = runReplay(replay, SDL_GetVideoSurface(), &trace);
    EXPECT_FALSE(outcome.success) << "a way into a soft-lock cannot also reach the goal";
    EXPECT_EQ(replay.totalFrames(), outcome.framesRun) << outcome.reason;

    // Where the replay ends: the cell the tool named, inside the sealed room
    // (left of the wall at columns 13 and 14), with the bomb spent.
    const std::string text = trace.str();
    const std::string last = text.substr(text.rfind("frame "));
    const int x = numberAfter(last, "x"), y = numberAfter(last, "y");
    EXPECT_EQ(col, (x + 16) / 32) << last;
    EXPECT_EQ(row, (y + 16) / 32) << last;
    EXPECT_LT(col, 13) << last;
    EXPECT_EQ(0, numberAfter(last, "bombs")) << last;
    EXPECT_NE(std::string::npos, text.find("bombs 1")) << "the bomb was never picked up";
}

TEST_F(SoftLock, PassesTheSameRoomWithAPitToFallInto) {
    EXPECT_EQ(0, check("pitted.lvl", 10)) << log;
    const std::size_t verdict = log.find("pitted: no soft-lock: ");
    ASSERT_NE(std::string::npos, verdict) << log;
    // Enough states that random play has wasted the bomb in many of them.
    EXPECT_GE(std::atoi(log.c_str() + verdict + 22), 50) << log;
}

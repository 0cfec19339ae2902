#include "level/Level.h"
#include "menus/Settings.h"
#include "shell/Clock.h"
#include "tools/common/Replay.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <iostream>
#include <sstream>
#include <vector>

namespace {

Replay parse(const std::string& text) {
    Replay replay;
    std::string error;
    std::istringstream in(text);
    EXPECT_TRUE(parseReplay(in, replay, error)) << error;
    return replay;
}

std::string parseError(const std::string& text) {
    Replay replay;
    std::string error;
    std::istringstream in(text);
    EXPECT_FALSE(parseReplay(in, replay, error));
    return error;
}

// What the editor's recorder and the solver write must play back as recorded:
// every held key on every frame, every press on its own frame.
TEST(ReplayFormat, WrittenRunsReadBackFrameForFrame) {
    std::vector<FrameInput> frames;
    unsigned seed = 7;
    const auto roll = [&](unsigned sides) {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 16) % sides;
    };
    FrameInput held;
    for (int i = 0; i < 600; ++i) {
        if (roll(20) == 0) {
            held.left = roll(2) != 0;
            held.right = roll(2) != 0;
            held.explodeAll = roll(4) == 0;
        }
        FrameInput f = held;
        f.jump = roll(9) == 0;
        f.layBomb = roll(15) == 0;
        f.queryHint = roll(25) == 0;
        f.dismiss = roll(30) == 0;
        frames.push_back(f);
    }
    std::ostringstream out;
    out << "level data/levels/menu.lvl\n";
    writeRuns(out, frames);
    const Replay replay = parse(out.str());
    const std::vector<FrameInput> back = framesOf(replay);
    ASSERT_EQ(frames.size(), back.size());
    size_t starts = 0;
    for (size_t i = 0; i < frames.size(); ++i) {
        SCOPED_TRACE(i);
        const FrameInput& a = frames[i];
        const FrameInput& b = back[i];
        EXPECT_TRUE(a.holdsAsBefore(b));
        EXPECT_EQ(a.jump, b.jump);
        EXPECT_EQ(a.layBomb, b.layBomb);
        EXPECT_EQ(a.queryHint, b.queryHint);
        EXPECT_EQ(a.dismiss, b.dismiss);
        if (i == 0 || a.pressesAnything() || !a.holdsAsBefore(frames[i - 1])) ++starts;
    }
    // Merged: one run per change of keys or press, no more.
    EXPECT_EQ(starts, replay.runs.size());
}

TEST(ReplayFormat, ReadsHeaderAndRuns) {
    const Replay replay = parse(
        "# a comment\n"
        "level data/levels/level04.lvl\n"
        "tilesize 16\n"
        "expect survive\n"
        "30 R          # run right\n"
        "1 RJ\n"
        "5 L X B Q D\n"
        "7 -\n");
    EXPECT_EQ("data/levels/level04.lvl", replay.levelPath);
    EXPECT_EQ(16, replay.tileSize);
    EXPECT_FALSE(replay.expectGoal);
    ASSERT_EQ(4u, replay.runs.size());
    EXPECT_EQ(43, replay.totalFrames());
    EXPECT_TRUE(replay.runs[1].right && replay.runs[1].jump && !replay.runs[1].left);
    const ReplayRun& all = replay.runs[2];
    EXPECT_TRUE(all.left && all.explodeAll && all.layBomb && all.queryHint && all.dismiss);
    EXPECT_FALSE(all.right || all.jump);
    EXPECT_FALSE(replay.runs[3].left || replay.runs[3].right || replay.runs[3].jump);
}

TEST(ReplayFormat, MalformedLinesNameTheLine) {
    EXPECT_EQ("line 2: unknown input 'Z'", parseError("level a.lvl\n3 RZ\n"));
    EXPECT_EQ("line 1: expected a frame count, found 'R'", parseError("R 3\n"));
    EXPECT_EQ("line 1: expected a frame count, found '0'", parseError("0 R\n"));
    EXPECT_EQ("line 1: tilesize needs a positive number", parseError("tilesize -4\n"));
    EXPECT_EQ("line 1: expect takes goal or survive", parseError("expect win\n"));
    EXPECT_EQ("no level line", parseError("3 R\n"));
}

TEST(ReplayFormat, AControlsLineBindsAnActionInTheNextRun) {
    const Replay replay = parse(
        "level data/levels/menu.lvl\n"
        "5 R\n"
        "controls Jump W\n"
        "30 R\n"
        "controls QueryHint [4]\n"
        "9 L\n");
    ASSERT_EQ(3u, replay.runs.size());
    EXPECT_EQ(-1, replay.runs[0].rebindAction);
    EXPECT_EQ(KeyJump, replay.runs[1].rebindAction);
    EXPECT_EQ(SDLK_w, replay.runs[1].rebindKey);
    EXPECT_EQ(4, replay.runs[1].line);
    EXPECT_EQ(KeyQueryHint, replay.runs[2].rebindAction);
    EXPECT_EQ(SDLK_KP4, replay.runs[2].rebindKey);
    const std::string usage =
        "controls takes an action (Jump, Left, Right, QueryHint, LayBomb, ExplodeAll) and a key";
    EXPECT_EQ("line 2: " + usage, parseError("level a.lvl\ncontrols Fly w\n3 R\n"));
    EXPECT_EQ("line 2: " + usage, parseError("level a.lvl\ncontrols Jump\n3 R\n"));
    EXPECT_EQ("line 2: controls is not followed by a run",
              parseError("level a.lvl\ncontrols Jump w\n"));
    EXPECT_EQ("line 3: the controls line of line 2 has no run",
              parseError("level a.lvl\ncontrols Jump w\ncontrols Left j\n3 R\n"));
}

TEST(ReplayFormat, LevelNumbersComeFromTheFileName) {
    EXPECT_EQ(7, levelNumberOf("data/levels/level07.lvl"));
    EXPECT_EQ(12, levelNumberOf("level12.lvl"));
    EXPECT_EQ(0, levelNumberOf("data/levels/menu.lvl"));
}

// A corridor four tiles wide: floor, start at the left, goal at the right,
// a hint sign on the start cell's right and a pit beyond the goal.
class ReplayRunTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir.write("data/levels/level01.lvl",
                  "6 4\n"
                  "0 0 4 1\n"
                  "0 0 28 Hello there Burmashave. 0 1\n"
                  "0 0 0 1\n"
                  "0 0 0 1\n"
                  "0 0 7 1\n"
                  "0 0 0 0\n"
                  "Corridor\n");
    }

    ReplayOutcome run(const std::string& text) {
        const Replay replay = parse(text);
        return runReplay(replay, SDL_GetVideoSurface(), nullptr);
    }

    ScratchDir dir;
};

TEST_F(ReplayRunTest, HoldingRightReachesTheGoal) {
    const ReplayOutcome outcome = run("level data/levels/level01.lvl\n60 R\n");
    EXPECT_TRUE(outcome.success) << outcome.reason;
    EXPECT_LT(outcome.framesRun, 60);
    EXPECT_EQ(0, outcome.deaths);
}

TEST_F(ReplayRunTest, StandingStillFailsWithAReason) {
    const ReplayOutcome outcome = run("level data/levels/level01.lvl\n20 -\n");
    EXPECT_FALSE(outcome.success);
    EXPECT_EQ(20, outcome.framesRun);
    EXPECT_EQ("goal not reached in 20 frames", outcome.reason);
}

TEST_F(ReplayRunTest, SurvivalFailsAtTheFirstDeath) {
    // Left of the start there is no floor: the hero falls out of the grid.
    const ReplayOutcome outcome =
        run("level data/levels/level01.lvl\nexpect survive\n80 L\n");
    EXPECT_FALSE(outcome.success);
    EXPECT_EQ(1, outcome.deaths);
    EXPECT_NE(std::string::npos, outcome.reason.find("died at frame"));
}

TEST_F(ReplayRunTest, SurvivingEveryFrameSucceeds) {
    const ReplayOutcome outcome = run("level data/levels/level01.lvl\nexpect survive\n50 -\n");
    EXPECT_TRUE(outcome.success) << outcome.reason;
    EXPECT_EQ(50, outcome.framesRun);
}

TEST_F(ReplayRunTest, AHintBoxIsDismissedInsideTheReplay) {
    // Walk onto the sign, ask, dismiss, walk on: the box must not wait for a real key.
    testing::internal::CaptureStdout();
    const ReplayOutcome outcome =
        run("level data/levels/level01.lvl\n4 R\n1 R Q D\n60 R\n");
    std::cout.flush();
    const std::string printed = testing::internal::GetCapturedStdout();
    EXPECT_TRUE(outcome.success) << outcome.reason;
    // The box prints its text when it shows.
    EXPECT_NE(std::string::npos, printed.find(" Hello there \n")) << printed;
}

TEST_F(ReplayRunTest, AHintBoxLeftOpenTripsTheStallGuard) {
    struct Stalled {};
    setClockStallGuard(5000, [] { throw Stalled{}; });
    EXPECT_THROW(run("level data/levels/level01.lvl\n4 R\n1 R Q\n60 R\n"), Stalled);
    setClockStallGuard(0, nullptr);
    drainEvents();
}

TEST_F(ReplayRunTest, TraceDescribesEveryFrame) {
    const Replay replay = parse("level data/levels/level01.lvl\n3 -\n");
    std::ostringstream trace;
    runReplay(replay, SDL_GetVideoSurface(), &trace);
    const std::string text = trace.str();
    EXPECT_EQ(0u, text.find("frame 1 x 0 y 64 "));
    EXPECT_NE(std::string::npos, text.find("frame 3 "));
    EXPECT_NE(std::string::npos, text.find(" lives 5 keys 0 bombs 0 result 0"));
}

TEST_F(ReplayRunTest, TheReplayDrivesTheClock) {
    run("level data/levels/level01.lvl\n10 -\n");
    EXPECT_TRUE(isManualClock());
    EXPECT_EQ(10u * 33u, clockTicks());
}

// A menu room: the controls sign on the floor between the start and a step
// with the flag on it, so the flag needs a jump.
class ReplayControlsTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir.useShipped("fonts");
        dir.write("data/levels/menu.lvl",
                  "8 4\n"
                  "1 1 1 1\n"
                  "0 0 4 1\n"
                  "0 0 0 1\n"
                  "0 0 0 1\n"
                  "0 0 39 1\n"
                  "0 0 1 1\n"
                  "0 7 1 1\n"
                  "1 1 1 1\n"
                  "Menu\n");
    }

    ReplayOutcome run(const std::string& text) {
        return runReplay(parse(text), SDL_GetVideoSurface(), nullptr);
    }

    ScratchDir dir;
};

TEST_F(ReplayControlsTest, TheMenuRebindsJumpAndTheRestOfTheReplayUsesIt) {
    const Replay replay = parse(
        "level data/levels/menu.lvl\ncontrols Jump w\n40 R\n6 R\n1 R J\n30 R\n");
    std::vector<int> jumpKeys;
    std::ostringstream trace;
    const ReplayOutcome outcome = runReplay(
        replay, SDL_GetVideoSurface(), &trace,
        [&jumpKeys](Level&) { jumpKeys.push_back(getUserKey(KeyJump)); });
    EXPECT_TRUE(outcome.success) << outcome.reason;
    EXPECT_NE(std::string::npos, trace.str().find("controls menu: Jump is w\n"));
    // The menu's run ends when it opens; the frames after it jump with w.
    EXPECT_LT(outcome.framesRun, 40 + 6 + 1 + 30);
    ASSERT_FALSE(jumpKeys.empty());
    EXPECT_EQ(SDLK_w, jumpKeys.back());
    // The next replay in this process starts from the keys this one started with.
    EXPECT_EQ(SDLK_KP4, getUserKey(KeyJump));
}

TEST_F(ReplayControlsTest, AControlsRunThatNeverMeetsTheSignFails) {
    const ReplayOutcome outcome =
        run("level data/levels/menu.lvl\n2 -\ncontrols Jump w\n20 L\n40 R\n");
    EXPECT_FALSE(outcome.success);
    EXPECT_EQ("line 4: the controls menu did not open in the run's 20 frames", outcome.reason);
    EXPECT_EQ(SDLK_KP4, getUserKey(KeyJump));
}

}  // namespace

#include "level/Level.h"
#include "menus/Settings.h"
#include "tests/level/LevelTestSupport.h"
#include "tests/support/TestSupport.h"
#include "things/Geometry.h"

#include <gtest/gtest.h>

#include <sstream>
#include <vector>

namespace {

// One stretch of recorded input: for `frames` frames hold Left and/or Right;
// press Jump on the stretch's first frame.
struct Input {
    int frames;
    bool left;
    bool right;
    bool jump;
};

struct Outcome {
    int result = StepNothing;  // the first step result that was not 0
    int frame = 0;
    std::string trace;         // the Player's path, for a failing test
};

void pressKey(Level& level, int key) {
    SDL_Event event;
    event.type = SDL_KEYDOWN;
    event.key.type = SDL_KEYDOWN;
    event.key.state = SDL_PRESSED;
    event.key.keysym.sym = static_cast<SDLKey>(key);
    event.key.keysym.mod = KMOD_NONE;
    event.key.keysym.unicode = 0;
    event.key.keysym.scancode = 0;
    level.handleEvent(event);
}

// Plays the inputs frame by frame as the main loop would, until a step reports something.
Outcome play(Level& level, const std::vector<Input>& inputs) {
    Outcome outcome;
    std::ostringstream trace;
    capture([&] {
        for (const Input& input : inputs) {
            setKey(getUserKey(KeyLeft), input.left);
            setKey(getUserKey(KeyRight), input.right);
            for (int i = 0; i < input.frames; ++i) {
                if (i == 0 && input.jump) pressKey(level, getUserKey(KeyJump));
                ++outcome.frame;
                outcome.result = level.step();
                level.draw();
                const SDL_Rect* at = level.getPlayer().getRect();
                trace << outcome.frame << ": " << at->x << "," << at->y << "\n";
                if (outcome.result != StepNothing) break;
            }
            if (outcome.result != StepNothing) break;
        }
    });
    releaseAllKeys();
    outcome.trace = trace.str();
    return outcome;
}

class ShippedLevel : public testing::Test {
protected:
    void SetUp() override { dir.useShipped("levels"); }
    std::unique_ptr<Level> loaded(const std::string& path) {
        std::unique_ptr<Level> level = quietLevel(0);
        capture([&] { ok = level->load(path); });
        return level;
    }

    ScratchDir dir;
    bool ok = false;
};

TEST_F(ShippedLevel, EveryLevelLoadsWithOneStartAGoalAndAName) {
    for (const char* path : {"data/levels/menu.lvl", "data/levels/level01.lvl",
                             "data/levels/level02.lvl", "data/levels/level03.lvl"}) {
        SCOPED_TRACE(path);
        std::unique_ptr<Level> level = loaded(path);
        ASSERT_TRUE(ok);
        int starts = 0;
        int goals = 0;
        for (const std::vector<int>& column : level->getGrid()) {
            for (int value : column) {
                starts += value == 4;
                goals += value == 7;
            }
        }
        EXPECT_EQ(starts, 1);
        EXPECT_GE(goals, 1);
        EXPECT_FALSE(level->getName().empty());
        // The whole bottom row is solid, so nobody falls out by walking.
        for (int x = 0; x < level->getWidth(); ++x) {
            const int value = level->getGrid()[x][level->getHeight() - 1];
            EXPECT_TRUE(value == 1 || value == 2) << "column " << x;
        }
    }
}

TEST_F(ShippedLevel, TheMenuObjectsStandApartFromTheStart) {
    for (int size : {32, 16}) {
        SCOPED_TRACE(size);
        tileSize = size;
        std::unique_ptr<Level> menu = loaded("data/levels/menu.lvl");
        ASSERT_TRUE(ok);
        int options = 0;
        int controls = 0;
        for (Thing* thing : menu->getThings()) {
            options += thing->getType() == 38;
            controls += thing->getType() == 39;
            EXPECT_FALSE(overlaps(*thing->getRect(), *menu->getPlayer().getRect()))
                << "kind " << thing->getType();
        }
        EXPECT_EQ(options, 1);
        EXPECT_EQ(controls, 1);
    }
}

TEST_F(ShippedLevel, WalkingLeftInTheMenuOpensTheOptions) {
    std::unique_ptr<Level> menu = loaded("data/levels/menu.lvl");
    const Outcome outcome = play(*menu, {{150, true, false, false}});
    EXPECT_EQ(outcome.result, StepOpenOptions) << outcome.trace;
}

TEST_F(ShippedLevel, WalkingRightInTheMenuOpensTheControls) {
    std::unique_ptr<Level> menu = loaded("data/levels/menu.lvl");
    const Outcome outcome = play(*menu, {{150, false, true, false}});
    EXPECT_EQ(outcome.result, StepOpenControls) << outcome.trace;
}

TEST_F(ShippedLevel, ClimbingThePlatformsInTheMenuStartsTheGame) {
    std::unique_ptr<Level> menu = loaded("data/levels/menu.lvl");
    const Outcome outcome = play(*menu, {
        {30, false, false, false},  // land on the floor
        {6, false, true, false},
        {30, false, false, true},
        {4, false, true, true},
        {30, false, false, false},
        {4, false, true, true},
        {30, false, false, false},
        {4, false, true, true},
        {30, false, false, false},
    });
    EXPECT_EQ(outcome.result, StepLevelDone) << outcome.trace;
}

}  // namespace

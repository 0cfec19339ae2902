// The level editor driven by the events its window would deliver, on the
// tests' headless screen.
#include "level/LevelDraft.h"
#include "level/Tiles.h"
#include "menus/Settings.h"
#include "tests/support/TestSupport.h"
#include "tools/edit/Editor.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <memory>
#include <sys/stat.h>
#include <thread>

namespace {

class EditorTest : public ::testing::Test {
protected:
    void SetUp() override {
        scratch.useShipped("images");
        scratch.useShipped("fonts");
        tileSize = 32;
    }

    void open(const LevelDraft& level, const std::string& path = "data/levels/drawn.lvl") {
        EditorOptions options;
        options.levelPath = path;
        options.solverPath = "/nonexistent/curdovar-solve";
        editor = std::make_unique<Editor>(SDL_GetVideoSurface(), options, level);
    }

    // A saved-looking room to walk from start to goal, with the tools given.
    void openWalk(EditorOptions options) {
        LevelDraft level(8, 3);
        for (int x = 0; x < 8; ++x) level.setValue(x, 2, TileWall);
        level.setValue(1, 1, TileStart);
        level.setValue(6, 1, TileGoal);
        options.levelPath = "data/levels/walk.lvl";
        editor = std::make_unique<Editor>(SDL_GetVideoSurface(), options, level);
    }

    void key(SDLKey sym, int mod = KMOD_NONE) {
        SDL_Event event{};
        event.type = SDL_KEYDOWN;
        event.key.keysym.sym = sym;
        event.key.keysym.mod = static_cast<SDLMod>(mod);
        SDL_SetModState(static_cast<SDLMod>(mod));
        editor->handleEvent(event);
        SDL_SetModState(KMOD_NONE);
    }

    // The window pixel in the middle of a cell, the view at the top-left.
    static int middle(int cell) { return cell * tileSize + tileSize / 2; }

    void move(int column, int row) {
        SDL_Event event{};
        event.type = SDL_MOUSEMOTION;
        event.motion.x = static_cast<Uint16>(middle(column) - editor->getViewX());
        event.motion.y = static_cast<Uint16>(middle(row) - editor->getViewY());
        editor->handleEvent(event);
    }

    void button(Uint8 type, int column, int row, int mod) {
        SDL_Event event{};
        event.type = type;
        event.button.button = SDL_BUTTON_LEFT;
        event.button.x = static_cast<Uint16>(middle(column) - editor->getViewX());
        event.button.y = static_cast<Uint16>(middle(row) - editor->getViewY());
        SDL_SetModState(static_cast<SDLMod>(mod));
        editor->handleEvent(event);
        SDL_SetModState(KMOD_NONE);
    }

    // A left press at one cell and its release at another, with modifiers held.
    void drag(int column0, int row0, int column1, int row1, int mod = KMOD_NONE) {
        button(SDL_MOUSEBUTTONDOWN, column0, row0, mod);
        move(column1, row1);
        button(SDL_MOUSEBUTTONUP, column1, row1, mod);
    }

    ScratchDir scratch;
    std::unique_ptr<Editor> editor;
};

// F3 steps through the looks there are and back to none, undoably, and the
// saved file names the look.
TEST(EditorLook, F3StepsThroughTheLooksAndTheFileNamesIt) {
    ScratchDir scratch;
    scratch.useShipped("fonts");
    for (int size : {16, 32}) scratch.writeImage(size, "goal", size, size);
    tileSize = 32;
    for (const char* look : {"meadow", "beach"}) {
        for (const char* size : {"16", "32"}) {
            const std::string folder = scratch.path() + "/data/images/looks/" + look + "/" + size;
            ASSERT_EQ(std::system(("mkdir -p '" + folder + "'").c_str()), 0);
        }
    }
    EditorOptions options;
    options.levelPath = "data/levels/drawn.lvl";
    options.solverPath = "/nonexistent/curdovar-solve";
    LevelDraft level(3, 3);
    level.setValue(1, 0, TileStart);
    level.setValue(1, 2, TileGoal);
    Editor editor(SDL_GetVideoSurface(), options, level);
    const auto press = [&editor](SDLKey sym, int mod) {
        SDL_Event event{};
        event.type = SDL_KEYDOWN;
        event.key.keysym.sym = sym;
        event.key.keysym.mod = static_cast<SDLMod>(mod);
        SDL_SetModState(static_cast<SDLMod>(mod));
        editor.handleEvent(event);
        SDL_SetModState(KMOD_NONE);
    };
    const auto f3 = [&press] { press(SDLK_F3, KMOD_NONE); };
    f3();
    EXPECT_EQ(editor.getLevel().getLook(), "beach");
    f3();
    EXPECT_EQ(editor.getLevel().getLook(), "meadow");
    EXPECT_EQ(editor.getCheck().errorCount(), 0);
    press(SDLK_s, KMOD_LCTRL);
    ASSERT_TRUE(scratch.exists("data/levels/drawn.lvl"));
    EXPECT_NE(scratch.read("data/levels/drawn.lvl").find("New_Level\nlook meadow\n"), std::string::npos);
    f3();
    EXPECT_EQ(editor.getLevel().getLook(), "");
    press(SDLK_z, KMOD_LCTRL);
    EXPECT_EQ(editor.getLevel().getLook(), "meadow");
}

TEST_F(EditorTest, RefusedResizeLeavesViewAndPortalAimAlone) {
    LevelDraft level(1, 3);
    level.setValue(0, 0, KindPortal);
    open(level);
    move(0, 0);
    key(SDLK_RETURN);  // aim the portal under the mouse
    key(SDLK_LEFT, KMOD_LCTRL | KMOD_LSHIFT);  // a grid of no columns: refused
    EXPECT_EQ(1, editor->getLevel().getWidth());
    EXPECT_EQ(0, editor->getViewX());
    EXPECT_EQ(0, editor->getViewY());
    drag(0, 2, 0, 2);
    EXPECT_EQ(0, editor->getLevel().at(0, 0).targetColumn);
    EXPECT_EQ(2, editor->getLevel().at(0, 0).targetRow);

    // A resize that happens keeps the view on the same cells and the aim on the same portal.
    move(0, 0);
    key(SDLK_RETURN);
    key(SDLK_LEFT, KMOD_LCTRL);
    ASSERT_EQ(2, editor->getLevel().getWidth());
    EXPECT_EQ(tileSize, editor->getViewX());
    drag(1, 1, 1, 1);
    EXPECT_EQ(KindPortal, editor->getLevel().at(1, 0).value);
    EXPECT_EQ(1, editor->getLevel().at(1, 0).targetColumn);
    EXPECT_EQ(1, editor->getLevel().at(1, 0).targetRow);
}

// A room with a hint, a start, a portal aimed inside the room and one aimed out of it.
LevelDraft roomLevel() {
    LevelDraft level(10, 4);
    level.setValue(1, 1, KindHint);
    level.setHintText(1, 1, "Mind the gap");
    level.setValue(1, 2, TileStart);
    level.setValue(2, 1, KindPortal);
    level.setPortalTarget(2, 1, 1, 2);
    level.setValue(2, 2, KindPortal);
    level.setPortalTarget(2, 2, 8, 3);
    return level;
}

TEST_F(EditorTest, CopyAndPasteCarryHintsAndPortalsWithOneUndo) {
    const LevelDraft original = roomLevel();
    open(original);
    drag(1, 1, 2, 2, KMOD_LCTRL);
    key(SDLK_c, KMOD_LCTRL);
    EXPECT_EQ(original, editor->getLevel());
    move(5, 0);
    key(SDLK_v, KMOD_LCTRL);
    const LevelDraft& level = editor->getLevel();
    EXPECT_EQ(KindHint, level.at(5, 0).value);
    EXPECT_EQ("Mind the gap", level.at(5, 0).text);
    ASSERT_EQ(KindPortal, level.at(6, 0).value);
    EXPECT_EQ(5, level.at(6, 0).targetColumn);  // aimed inside: the same place in the copy
    EXPECT_EQ(1, level.at(6, 0).targetRow);
    ASSERT_EQ(KindPortal, level.at(6, 1).value);
    EXPECT_EQ(8, level.at(6, 1).targetColumn);  // aimed outside: the same cell of the level
    EXPECT_EQ(3, level.at(6, 1).targetRow);
    // One start: the pasted one.
    EXPECT_EQ(TileStart, level.at(5, 1).value);
    EXPECT_EQ(TileEmpty, level.at(1, 2).value);
    EXPECT_EQ("Mind the gap", level.at(1, 1).text);

    key(SDLK_z, KMOD_LCTRL);
    EXPECT_EQ(original, editor->getLevel());
    key(SDLK_y, KMOD_LCTRL);
    EXPECT_EQ(KindHint, editor->getLevel().at(5, 0).value);

    // At the grid's corner only what lands inside is put down.
    move(9, 3);
    key(SDLK_v, KMOD_LCTRL);
    EXPECT_EQ("Mind the gap", editor->getLevel().at(9, 3).text);
    EXPECT_EQ(10, editor->getLevel().getWidth());
}

TEST_F(EditorTest, CutAndPasteMoveAStretchOneUndoEach) {
    const LevelDraft original = roomLevel();
    open(original);
    drag(1, 1, 2, 2, KMOD_LCTRL);
    key(SDLK_x, KMOD_LCTRL);
    for (int x = 1; x <= 2; ++x) {
        for (int y = 1; y <= 2; ++y) EXPECT_EQ(DraftCell(), editor->getLevel().at(x, y));
    }
    move(6, 2);
    key(SDLK_v, KMOD_LCTRL);
    const LevelDraft& level = editor->getLevel();
    EXPECT_EQ("Mind the gap", level.at(6, 2).text);
    EXPECT_EQ(TileStart, level.at(6, 3).value);
    EXPECT_EQ(6, level.at(7, 2).targetColumn);
    EXPECT_EQ(3, level.at(7, 2).targetRow);
    EXPECT_EQ(8, level.at(7, 3).targetColumn);
    EXPECT_EQ(DraftCell(), level.at(1, 1));

    key(SDLK_z, KMOD_LCTRL);  // the paste
    EXPECT_EQ(DraftCell(), editor->getLevel().at(6, 2));
    EXPECT_EQ(DraftCell(), editor->getLevel().at(1, 1));
    key(SDLK_z, KMOD_LCTRL);  // the cut
    EXPECT_EQ(original, editor->getLevel());
}

TEST_F(EditorTest, RefusedFileShowsTheLoadersWordAndWaitsForANewLevel) {
    const std::string broken = "3 2\n1 1\n1 1\n";  // the grid ends a column early
    scratch.write("data/levels/broken.lvl", broken);
    LevelDraft level(40, 20);
    std::string reason;
    ASSERT_FALSE(level.readFile("data/levels/broken.lvl", reason));
    open(level, "data/levels/broken.lvl");
    editor->refuse(reason);

    ASSERT_FALSE(editor->getCheck().problems.empty());
    const LevelProblem& problem = editor->getCheck().problems.front();
    EXPECT_EQ(LevelProblem::Error, problem.severity);
    EXPECT_EQ("the file ends inside the grid", problem.message);
    EXPECT_TRUE(editor->isRunning());

    // Nothing is drawn into it or written over it.
    drag(0, 0, 0, 0);
    key(SDLK_s, KMOD_LCTRL);
    EXPECT_EQ(0, editor->getLevel().getWidth());
    EXPECT_EQ(broken, scratch.read("data/levels/broken.lvl"));

    key(SDLK_n, KMOD_LCTRL);
    EXPECT_EQ(40, editor->getLevel().getWidth());
    EXPECT_EQ(20, editor->getLevel().getHeight());
    drag(0, 0, 0, 0);
    EXPECT_NE(TileEmpty, editor->getLevel().at(0, 0).value);
    key(SDLK_s, KMOD_LCTRL);
    key(SDLK_y);  // the new level has no start or goal: save anyway
    EXPECT_NE(broken, scratch.read("data/levels/broken.lvl"));
    for (const LevelProblem& p : editor->getCheck().problems)
        EXPECT_NE("the file ends inside the grid", p.message);
}

TEST_F(EditorTest, SolverGetsTheClickedWaypointsInOrder) {
    // A stand-in solver that writes down what it was asked.
    scratch.write("solver.sh", "#!/bin/sh\necho \"$@\" > asked.txt.part && "
                               "mv asked.txt.part asked.txt\n");
    chmod((scratch.path() + "/solver.sh").c_str(), 0755);
    EditorOptions options;
    options.solverPath = scratch.path() + "/solver.sh";
    openWalk(options);
    ASSERT_EQ(0, editor->getCheck().errorCount());

    key(SDLK_w);
    drag(5, 0, 5, 0);
    drag(3, 1, 3, 1);
    drag(4, 1, 4, 1);
    SDL_Event right{};
    right.type = SDL_MOUSEBUTTONDOWN;
    right.button.button = SDL_BUTTON_RIGHT;
    right.button.x = static_cast<Uint16>(middle(3));
    right.button.y = static_cast<Uint16>(middle(1));
    editor->handleEvent(right);  // takes (3, 1) away again
    key(SDLK_ESCAPE);
    EXPECT_EQ(TileEmpty, editor->getLevel().at(5, 0).value);  // clicks placed no tiles
    key(SDLK_F7);

    std::string asked;
    for (int tries = 0; tries < 100 && asked.empty(); ++tries) {
        std::ifstream in(scratch.path() + "/asked.txt");
        std::getline(in, asked);
        if (asked.empty()) std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    EXPECT_NE(std::string::npos, asked.find("data/levels/walk.lvl 32 "));
    EXPECT_NE(std::string::npos, asked.find(" --via 5,0 --via 4,1"));
}

TEST_F(EditorTest, F8MarksWhereThePeopleDied) {
    // A stand-in for curdovar-difficulty that answers as it would.
    scratch.write("people.sh",
                  "#!/bin/sh\necho \"$@\" > asked.txt\n"
                  "echo 'You died. WTF?'\n"
                  "echo '{\"level\": \"walk\", \"profile\": \"casual\", \"goal_one_life\": 0.5, "
                  "\"deaths_to_finish\": 0.75, \"tightest_press_frames\": 3, \"deaths_at\": "
                  "[{\"col\": 4, \"row\": 2, \"deaths\": 9}, {\"col\": 5, \"row\": 2, \"deaths\": 1}]}'\n");
    chmod((scratch.path() + "/people.sh").c_str(), 0755);
    EditorOptions options;
    options.difficultyPath = scratch.path() + "/people.sh";
    openWalk(options);
    key(SDLK_F8);
    for (int tries = 0; tries < 200 && editor->getDeaths().empty(); ++tries) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        editor->pollJobs();
    }
    const std::vector<std::pair<std::pair<int, int>, int>> expected = {{{4, 2}, 9}, {{5, 2}, 1}};
    EXPECT_EQ(expected, editor->getDeaths());
    EXPECT_NE(std::string::npos, scratch.read("asked.txt").find("--all-deaths"));
    EXPECT_NE(std::string::npos, scratch.read("asked.txt").find("data/levels/walk.lvl"));
    key(SDLK_F8);
    EXPECT_TRUE(editor->getDeaths().empty()) << "F8 again hides the map";
}

}  // namespace

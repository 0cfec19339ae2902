// A steady frame (step, fill, draw) must not touch the heap: the whole
// program's operator new is replaced here to count calls while a window of
// frames runs.
#include "level/Level.h"
#include "menus/Settings.h"
#include "player/Player.h"
#include "shell/Clock.h"
#include "shell/Frame.h"
#include "shell/Game.h"
#include "shell/Particles.h"
#include "tests/level/LevelTestSupport.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <string>
#include <vector>

namespace {
std::atomic<bool> counting{false};
std::atomic<long> newCalls{0};

void* allocate(std::size_t size) {
    if (counting.load(std::memory_order_relaxed)) newCalls.fetch_add(1, std::memory_order_relaxed);
    if (size == 0) size = 1;
    if (void* block = std::malloc(size)) return block;
    throw std::bad_alloc();
}
}  // namespace

void* operator new(std::size_t size) { return allocate(size); }
void* operator new[](std::size_t size) { return allocate(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    try {
        return allocate(size);
    } catch (...) {
        return nullptr;
    }
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    try {
        return allocate(size);
    } catch (...) {
        return nullptr;
    }
}
void operator delete(void* block) noexcept { std::free(block); }
void operator delete[](void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }
void operator delete[](void* block, std::size_t) noexcept { std::free(block); }

namespace {
constexpr int columns = 40;
constexpr int rows = 15;
constexpr int separatorRow = 10;   // walls between the hero's corridor and the creatures
constexpr int startColumn = 20;
constexpr int startRow = 13;
constexpr int warmUpFrames = 300;  // first text rendered, clocks and creatures under way
constexpr int countedFrames = 100;
constexpr int turnFrames = 50;     // a running hero turns round this often
constexpr int levelNumber = 1;     // a numbered level, so a background is drawn

// Every object kind and the tiles that draw differently, all above a wall
// the hero cannot cross: the creatures live and move but never reach it.
std::string menagerie() {
    std::vector<std::vector<std::string>> cells(columns, std::vector<std::string>(rows, "0"));
    for (int c = 0; c < columns; ++c) {
        cells[c][0] = "1";
        cells[c][separatorRow] = "1";
        cells[c][rows - 1] = "1";
    }
    for (int r = 0; r < rows; ++r) {
        cells[0][r] = "1";
        cells[columns - 1][r] = "1";
    }
    cells[startColumn][startRow] = "4";
    cells[3][9] = "31";   // Chomper
    cells[7][9] = "30";   // Zipper
    cells[11][4] = "32";  // Flapper
    cells[15][6] = "33";  // Blobber
    cells[19][7] = "36";  // Maimframe
    cells[24][9] = "37";  // Crab
    cells[26][9] = "35";  // Milk
    cells[28][9] = "34";  // Door
    cells[30][9] = "29 30 8";  // Portal
    cells[32][9] = "28 Read me. Burmashave.";  // Hint
    cells[34][9] = "13";  // hidden wall
    cells[35][9] = "21";  // fake wall
    cells[36][9] = "17";  // crackable wall
    cells[37][9] = "2";   // spikes
    std::string text = std::to_string(columns) + " " + std::to_string(rows) + "\n";
    for (const auto& column : cells) {
        for (int r = 0; r < rows; ++r) text += (r ? " " : "") + column[r];
        text += "\n";
    }
    return text + "Menagerie\n";
}

enum class Motion { Still, Running };

class FrameRun : public testing::Test {
protected:
    void SetUp() override {
        dir.useShipped("images");
        dir.useShipped("fonts");
        dir.write("data/levels/menagerie.lvl", menagerie());
        useManualClock(0);
        level = quietLevel(levelNumber);
        bool loaded = false;
        capture([&] { loaded = level->load("data/levels/menagerie.lvl"); });
        ASSERT_TRUE(loaded);
        screen = SDL_GetVideoSurface();
        ASSERT_NE(screen, nullptr);
    }
    void TearDown() override { releaseAllKeys(); }

    void frame(Motion motion, int index) {
        if (motion == Motion::Running) {
            const bool right = (index / turnFrames) % 2 == 0;
            setKey(getUserKey(KeyRight), right);
            setKey(getUserKey(KeyLeft), !right);
        }
        Level* current = level.get();
        playFrame(current, screen, nullptr);
    }

    // Operator new calls during countedFrames frames after warmUpFrames, and
    // the hero's lives and status unchanged (no new text) over the window.
    long countSteadyFrames(Motion motion, int bombAt = -1) {
        for (int i = 0; i < warmUpFrames; ++i) {
            if (i == bombAt) pressLayBomb();
            frame(motion, i);
        }
        const Player& hero = level->getPlayer();
        const int lives = hero.getLives();
        const int status = hero.getStatus();
        const int form = hero.getForm();
        sparksAtStart = particles.size();
        newCalls = 0;
        counting = true;
        for (int i = 0; i < countedFrames; ++i) frame(motion, warmUpFrames + i);
        counting = false;
        EXPECT_EQ(hero.getLives(), lives) << "the window had a death: its text may be new";
        EXPECT_EQ(hero.getStatus(), status);
        EXPECT_EQ(hero.getForm(), form);
        return newCalls.load();
    }

    void pressLayBomb() {
        level->getPlayer().setBombs(1);
        SDL_Event event{};
        event.type = SDL_KEYDOWN;
        event.key.keysym.sym = static_cast<SDLKey>(getUserKey(KeyLayBomb));
        level->handleEvent(event);
    }

    ScratchDir dir;
    std::size_t sparksAtStart = 0;
    std::unique_ptr<Level> level;
    SDL_Surface* screen = nullptr;
};

class FrameAllocation : public FrameRun, public testing::WithParamInterface<int> {};

TEST_P(FrameAllocation, StandingStillAllocatesNothing) {
    level->getPlayer().setStatus(GetParam());
    EXPECT_EQ(countSteadyFrames(Motion::Still), 0);
}

TEST_P(FrameAllocation, RunningLeftAndRightAllocatesNothing) {
    level->getPlayer().setStatus(GetParam());
    level->getPlayer().setBombs(3);
    level->getPlayer().setKeys(2);
    EXPECT_EQ(countSteadyFrames(Motion::Running), 0);
    EXPECT_NE(level->getPlayer().getRect()->x, startColumn * tileSize) << "the hero never ran";
}

INSTANTIATE_TEST_SUITE_P(EveryStatus, FrameAllocation,
                         testing::Values(StatusNormal, StatusRubber, StatusFrench,
                                         StatusTerrorist, StatusGerman, StatusShaded));

// A bomb laid late in the warm-up goes off before the window, so its sparks
// fly, fade and are freed while the frames are counted.
TEST_F(FrameRun, DyingSparksAllocateNothing) {
    level->getPlayer().setStatus(StatusTerrorist);
    EXPECT_EQ(countSteadyFrames(Motion::Running, warmUpFrames - 70), 0);
    EXPECT_GT(sparksAtStart, 0u) << "no sparks were alive in the window";
}

// The counter itself: a frame that does allocate is seen.
TEST(FrameAllocationCounter, SeesAnAllocation) {
    newCalls = 0;
    counting = true;
    std::string* text = new std::string(100, 'x');
    counting = false;
    delete text;
    EXPECT_GE(newCalls.load(), 1);
}

}  // namespace

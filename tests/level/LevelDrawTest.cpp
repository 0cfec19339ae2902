#include "level/Level.h"
#include "menus/Settings.h"
#include "shell/Clock.h"
#include "tests/level/LevelTestSupport.h"
#include "tests/support/TestSupport.h"
#include "things/Bomb.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

namespace {

const SDL_Color black = {0, 0, 0, 0};
const SDL_Color red = {220, 0, 0, 0};
const SDL_Color green = {0, 220, 0, 0};
const SDL_Color blue = {0, 0, 220, 0};

bool sameColour(SDL_Color a, SDL_Color b) { return a.r == b.r && a.g == b.g && a.b == b.b; }

::testing::AssertionResult colourAt(SDL_Surface* screen, int x, int y, SDL_Color expected) {
    const SDL_Color seen = pixelAt(screen, x, y);
    if (sameColour(seen, expected)) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "pixel (" << x << ", " << y << ") is " << int(seen.r) << "," << int(seen.g) << ","
           << int(seen.b) << " instead of " << int(expected.r) << "," << int(expected.g) << ","
           << int(expected.b);
}

class LevelDraw : public testing::Test {
protected:
    void SetUp() override {
        dir.writeImage(32, "wall", 32, 32, red.r, red.g, red.b);
        dir.writeImage(32, "iwall", 32, 32, blue.r, blue.g, blue.b);
        dir.writeImage(32, "fwall", 32, 32, green.r, green.g, green.b);
        level = quietLevel(levelNumber());
    }
    virtual int levelNumber() const { return 0; }

    void loadLevel(const std::string& text) {
        dir.write("data/levels/draw.lvl", text);
        capture([&] { level->load("data/levels/draw.lvl"); });
    }
    void draw() {
        SDL_FillRect(screen, nullptr, 0);
        capture([&] { level->draw(); });
    }
    // Puts the camera where the last frame left it and the Player where it
    // does not move it.
    void steadyCamera(Sint16 x, Sint16 y, int playerX, int playerY) {
        camera = SDL_Rect{x, y, 640, 480};
        level->getPlayer().setPosition(playerX, playerY);
    }

    ScratchDir dir;
    SDL_Surface* screen = SDL_GetVideoSurface();
    std::unique_ptr<Level> level;
};

// Ten columns, five rows: a hidden wall at (2, 3), a fake wall at (4, 3), a
// wall at (6, 3) and at (0, 4).
const char* const hiddenRow =
    "10 5\n0 0 0 0 1\n0 0 0 0 0\n0 0 0 13 0\n0 0 0 0 0\n0 0 0 21 0\n0 0 0 0 0\n"
    "0 0 0 1 0\n0 0 0 0 0\n0 0 0 0 0\n0 0 0 0 0\nHidden\n";

TEST_F(LevelDraw, HiddenAndFakeWallsShowAsTheyAreOnlyInShades) {
    loadLevel(hiddenRow);
    steadyCamera(0, 0, 100, 100);
    draw();
    EXPECT_TRUE(colourAt(screen, 2 * 32 + 5, 3 * 32 + 5, black));
    EXPECT_TRUE(colourAt(screen, 4 * 32 + 5, 3 * 32 + 5, red));
    EXPECT_TRUE(colourAt(screen, 6 * 32 + 5, 3 * 32 + 5, red));

    level->getPlayer().setStatus(StatusShaded);
    draw();
    EXPECT_TRUE(colourAt(screen, 2 * 32 + 5, 3 * 32 + 5, blue));
    EXPECT_TRUE(colourAt(screen, 4 * 32 + 5, 3 * 32 + 5, green));
    EXPECT_TRUE(colourAt(screen, 6 * 32 + 5, 3 * 32 + 5, red));

    level->getPlayer().setStatus(StatusFrench);
    draw();
    EXPECT_TRUE(colourAt(screen, 2 * 32 + 5, 3 * 32 + 5, black));
}

TEST_F(LevelDraw, ShadesTakenInAStepShowInThatFramesDrawing) {
    // The Player falls from (1, 0) into shades at (1, 1); a hidden wall at (3, 2).
    loadLevel("4 3\n0 0 1\n4 8 1\n0 0 1\n0 13 1\nShades\n");
    camera = SDL_Rect{0, 0, 640, 480};
    capture([&] { level->step(); });
    ASSERT_EQ(level->getPlayer().getStatus(), StatusShaded);
    draw();
    EXPECT_TRUE(colourAt(screen, 3 * 32 + 5, 1 * 32 + 5, blue));
}

TEST_F(LevelDraw, TheCameraKeepsThePlayerSevenTilesFromTheEdges) {
    loadLevel(hiddenRow);
    // Near the left edge the view stops at the level.
    steadyCamera(0, 0, 100, 100);
    draw();
    EXPECT_EQ(camera.x, 0);
    EXPECT_EQ(camera.y, 0);
    // Towards the right: 500 - 640 + 224.
    steadyCamera(0, 0, 500, 100);
    draw();
    EXPECT_EQ(camera.x, 84);
    // Downwards: 400 - 480 + 224; and no limit beyond the grid.
    steadyCamera(0, 0, 5000, 400);
    draw();
    EXPECT_EQ(camera.x, 5000 - 640 + 224);
    EXPECT_EQ(camera.y, 144);
    // Back up and left: the view follows to the edges.
    steadyCamera(300, 300, 250, 250);
    draw();
    EXPECT_EQ(camera.x, 26);
    EXPECT_EQ(camera.y, 26);
    EXPECT_EQ(camera.w, 640);
    EXPECT_EQ(camera.h, 480);
}

TEST_F(LevelDraw, TheFirstFrameFollowsWithANarrowView) {
    // Before any frame the view is 0 wide, so the right-hand rule pulls it
    // 7 tiles right of the Player once.
    loadLevel(hiddenRow);
    level->getPlayer().setPosition(64, 64);
    draw();
    EXPECT_EQ(camera.x, 64 + 224);
    EXPECT_EQ(camera.y, 0);
    draw();
    EXPECT_EQ(camera.x, 0);
}

TEST_F(LevelDraw, TilesScrollWithTheCamera) {
    loadLevel(hiddenRow);
    steadyCamera(20, 20, 400, 250);
    draw();
    ASSERT_EQ(camera.x, 20);
    ASSERT_EQ(camera.y, 20);
    EXPECT_TRUE(colourAt(screen, 6 * 32 - 20, 3 * 32 - 20, red));
    EXPECT_TRUE(colourAt(screen, 6 * 32 - 21, 3 * 32 - 20, black));
    // The wall at (0, 4) is partly off screen and its visible part is drawn.
    EXPECT_TRUE(colourAt(screen, 0, 4 * 32 - 20, red));
    EXPECT_TRUE(colourAt(screen, 11, 4 * 32 - 20, red));
    EXPECT_TRUE(colourAt(screen, 12, 4 * 32 - 20, black));
}

class LevelShake : public LevelDraw {
protected:
    // A seed whose first two shake factors satisfy want.
    template <typename Want>
    unsigned seedWhere(Want want, int& factorX, int& factorY) {
        for (unsigned seed = 1;; ++seed) {
            std::srand(seed);
            factorX = std::rand() % 10 - 5;
            factorY = std::rand() % 10 - 5;
            if (want(factorX, factorY)) return seed;
        }
    }
};

TEST_F(LevelShake, ShiftsTheFrameButNotTheCamera) {
    loadLevel(hiddenRow);
    int fx = 0;
    int fy = 0;
    const unsigned seed = seedWhere([](int x, int y) { return x > 0 && y > 0; }, fx, fy);
    steadyCamera(0, 0, 100, 100);
    level->addShake(3);
    std::srand(seed);
    draw();
    EXPECT_EQ(camera.x, 0);
    EXPECT_EQ(camera.y, 0);
    EXPECT_EQ(level->getShake(), 2);
    // The wall at (6, 3) moves against the shaken camera.
    EXPECT_TRUE(colourAt(screen, 6 * 32 - 3 * fx, 3 * 32 - 3 * fy, red));
    EXPECT_TRUE(colourAt(screen, 6 * 32 - 3 * fx - 1, 3 * 32 - 3 * fy, black));
    draw();
    draw();
    draw();
    EXPECT_EQ(level->getShake(), 0);
    EXPECT_TRUE(colourAt(screen, 6 * 32, 3 * 32, red));
}

TEST_F(LevelShake, TakesTwoRandomNumbersEveryFrameShakingOrNot) {
    loadLevel(hiddenRow);
    steadyCamera(0, 0, 100, 100);
    std::srand(99);
    std::rand();
    std::rand();
    const int third = std::rand();
    std::srand(99);
    draw();
    EXPECT_EQ(std::rand(), third);
}

TEST_F(LevelShake, PastTheLeftAndTopEdgesTheFirstCellsStillShow) {
    loadLevel(hiddenRow);
    int fx = 0;
    int fy = 0;
    const unsigned seed = seedWhere([](int x, int y) { return x <= -2 && y <= -2; }, fx, fy);
    steadyCamera(0, 0, 100, 100);
    level->addShake(20);
    std::srand(seed);
    draw();
    // The camera stood at least 40 pixels left of and above the level.
    EXPECT_TRUE(colourAt(screen, -20 * fx + 5, 4 * 32 - 20 * fy + 5, red));
    EXPECT_TRUE(colourAt(screen, 6 * 32 - 20 * fx + 5, 3 * 32 - 20 * fy + 5, red));
}

// A 64 by 64 background whose first column and first row are blue.
class LevelBackgroundDraw : public LevelDraw {
protected:
    int levelNumber() const override { return 1; }
    void SetUp() override {
        SDL_Surface* image =
            SDL_CreateRGBSurface(SDL_SWSURFACE, 64, 64, 32, 0x00FF0000, 0x0000FF00, 0x000000FF, 0);
        SDL_FillRect(image, nullptr, SDL_MapRGB(image->format, green.r, green.g, green.b));
        const Uint32 mark = SDL_MapRGB(image->format, blue.r, blue.g, blue.b);
        SDL_Rect column = {0, 0, 1, 64};
        SDL_Rect row = {0, 0, 64, 1};
        SDL_FillRect(image, &column, mark);
        SDL_FillRect(image, &row, mark);
        SDL_SaveBMP(image, (dir.path() + "/data/images/bg01.bmp").c_str());
        SDL_FreeSurface(image);
        LevelDraw::SetUp();
    }
};

TEST_F(LevelBackgroundDraw, TilesTheScreenAtASixthOfTheCameraMovement) {
    loadLevel("1 1\n0\nBackground\n");
    ASSERT_NE(background, nullptr);
    steadyCamera(60, 120, 400, 350);
    draw();
    ASSERT_EQ(camera.x, 60);
    ASSERT_EQ(camera.y, 120);
    // Copies start at (-10, -20), every 64 pixels, over the whole screen.
    EXPECT_TRUE(colourAt(screen, 54, 100, blue));
    EXPECT_TRUE(colourAt(screen, 53, 100, green));
    EXPECT_TRUE(colourAt(screen, 55, 100, green));
    EXPECT_TRUE(colourAt(screen, 630, 470, blue));
    EXPECT_TRUE(colourAt(screen, 100, 44, blue));
    EXPECT_TRUE(colourAt(screen, 100, 45, green));
    EXPECT_TRUE(colourAt(screen, 639, 479, green));
}

// Every kind of object on a floor, the hero at the left: what the search
// tools play unseen.
const char* const busyRow =
    "14 4\n4 0 0 1\n0 0 0 1\n28 Hi Burmashave. 0 0 1\n29 0 0 0 0 1\n30 0 0 1\n31 0 0 1\n"
    "32 0 0 1\n33 0 0 1\n34 0 0 1\n35 0 0 1\n36 0 0 1\n37 0 0 1\n0 0 0 1\n1 1 1 1\nBusy\n";

// The search tools play frames without their picture; a drawing that drew
// random numbers of its own would put their replays out of step with the game.
TEST_F(LevelShake, AnUnseenFrameDrawsTheRandomNumbersOfADrawnOne) {
    struct Run {
        int nextRandom;
        std::vector<int> positions;
    };
    auto play = [&](bool paint) {
        resetGlobals();
        useManualClock(0);
        level = quietLevel(levelNumber());
        loadLevel(busyRow);
        level->addShake(40);
        level->addThing(new Bomb(4 * 32, 0));
        std::srand(7);
        capture([&] {
            for (int frame = 0; frame < 400; ++frame) {
                level->step();
                paint ? level->draw() : level->drawUnseen();
                advanceClock(framePeriodMs);
            }
        });
        Run run{std::rand(), {}};
        for (const Thing* thing : level->getThings()) {
            run.positions.push_back(thing->getRect()->x);
            run.positions.push_back(thing->getRect()->y);
        }
        run.positions.push_back(level->getPlayer().getRect()->x);
        return run;
    };
    const Run drawn = play(true);
    const Run unseen = play(false);
    EXPECT_EQ(drawn.nextRandom, unseen.nextRandom);
    EXPECT_EQ(drawn.positions, unseen.positions);
    EXPECT_GT(drawn.positions.size(), 20u);
}

}  // namespace

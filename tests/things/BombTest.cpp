#include "things/Bomb.h"

#include "level/Level.h"
#include "menus/Settings.h"
#include "shell/Particles.h"
#include "things/AsplosionListener.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

struct Blast {
    int listener;
    int x;
    int y;
};

// Writes down every explosion it hears of, in one log shared by several.
class RecordingListener : public AsplosionListener {
public:
    RecordingListener(int id, std::vector<Blast>* log) : id(id), log(log) {}
    int onExplosion(int x, int y) override {
        log->push_back({id, x, y});
        return 0;
    }

private:
    int id;
    std::vector<Blast>* log;
};

const Grid noGrid;
const ThingList noThings;

void tick(Bomb& bomb, int frames) {
    for (int i = 0; i < frames; ++i) bomb.update(noGrid, noThings);
}

// Runs a bomb to its explosion, swallowing the "BOOM!" line.
void detonate(Bomb& bomb) {
    testing::internal::CaptureStdout();
    tick(bomb, 60);
    std::cout.flush();
    testing::internal::GetCapturedStdout();
}

int countOf(const std::string& text, const std::string& word) {
    int count = 0;
    for (size_t at = text.find(word); at != std::string::npos; at = text.find(word, at + 1)) {
        ++count;
    }
    return count;
}

// Saves a strip of four tile frames in four colours as the bomb's image.
const Uint8 frameColours[4][3] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 0}};

void writeBombStrip(const ScratchDir& dir) {
    SDL_Surface* strip = SDL_CreateRGBSurface(SDL_SWSURFACE, 4 * tileSize, tileSize, 32,
                                              0x00FF0000, 0x0000FF00, 0x000000FF, 0);
    for (int frame = 0; frame < 4; ++frame) {
        SDL_Rect area = {static_cast<Sint16>(frame * tileSize), 0,
                         static_cast<Uint16>(tileSize), static_cast<Uint16>(tileSize)};
        SDL_FillRect(strip, &area,
                     SDL_MapRGB(strip->format, frameColours[frame][0], frameColours[frame][1],
                                frameColours[frame][2]));
    }
    const std::string file =
        dir.path() + "/data/images/" + std::to_string(tileSize) + "/bombanim.bmp";
    SDL_SaveBMP(strip, file.c_str());
    SDL_FreeSurface(strip);
}

// Which frame of the strip a draw put at screen (x, y); -1 for none.
int frameAt(SDL_Surface* surface, int x, int y) {
    const SDL_Color c = pixelAt(surface, x, y);
    for (int frame = 0; frame < 4; ++frame) {
        if (c.r == frameColours[frame][0] && c.g == frameColours[frame][1] &&
            c.b == frameColours[frame][2]) {
            return frame;
        }
    }
    return -1;
}

}  // namespace

TEST(BombLaying, SitsAtThePixelItWasLaidAtOneTileSquare) {
    ScratchDir dir;
    writeBombStrip(dir);
    Bomb bomb(101, 203);
    EXPECT_EQ(101, bomb.getRect()->x);
    EXPECT_EQ(203, bomb.getRect()->y);
    EXPECT_EQ(32, bomb.getRect()->w);
    EXPECT_EQ(32, bomb.getRect()->h);
    EXPECT_EQ(60, bomb.getFuse());
    EXPECT_FALSE(bomb.isDead());
}

TEST(BombFuse, ExplodesOnTheSixtiethUpdateExactlyOnce) {
    ScratchDir dir;
    std::vector<Blast> log;
    RecordingListener level(1, &log);
    Bomb bomb(100, 200);
    bomb.addListener(&level);
    testing::internal::CaptureStdout();
    tick(bomb, 59);
    std::cout.flush();
    const std::string before = testing::internal::GetCapturedStdout();
    EXPECT_TRUE(log.empty());
    EXPECT_FALSE(bomb.isDead());
    EXPECT_EQ(1, bomb.getFuse());
    EXPECT_EQ(0, countOf(before, "BOOM!"));

    testing::internal::CaptureStdout();
    tick(bomb, 1);
    // Left in a list by mistake, it must not go off a second time.
    tick(bomb, 5);
    std::cout.flush();
    const std::string after = testing::internal::GetCapturedStdout();
    EXPECT_TRUE(bomb.isDead());
    EXPECT_EQ(1u, log.size());
    EXPECT_EQ(1, countOf(after, "BOOM!"));
    EXPECT_NE(std::string::npos, after.find("BOOM!\n"));
}

TEST(BombFuse, TurnsSolidWithFourteenFramesLeft) {
    ScratchDir dir;
    Bomb bomb(0, 0);
    EXPECT_EQ(TouchNothing, bomb.touch(nullptr));
    tick(bomb, 45);
    ASSERT_EQ(15, bomb.getFuse());
    EXPECT_EQ(TouchNothing, bomb.touch(nullptr));
    tick(bomb, 1);
    ASSERT_EQ(14, bomb.getFuse());
    EXPECT_EQ(TouchSolid, bomb.touch(nullptr));
    tick(bomb, 12);
    EXPECT_EQ(TouchSolid, bomb.touch(nullptr));
}

TEST(BombBlast, CentreOfTheBombAtBothTileSizes) {
    ScratchDir dir;
    std::vector<Blast> log;
    RecordingListener listener(1, &log);
    Bomb large(100, 200);
    large.addListener(&listener);
    detonate(large);

    tileSize = 16;
    Bomb small(100, 200);
    small.addListener(&listener);
    detonate(small);

    ASSERT_EQ(2u, log.size());
    EXPECT_EQ(116, log[0].x);
    EXPECT_EQ(216, log[0].y);
    EXPECT_EQ(108, log[1].x);
    EXPECT_EQ(208, log[1].y);
}


TEST(BombExplodeAll, HeldKeySetsOffEveryBombInListOrder) {
    ScratchDir dir;
    std::vector<Blast> log;
    RecordingListener level(1, &log);
    RecordingListener player(2, &log);
    Bomb a(0, 0), b(64, 0), c(128, 0);
    for (Bomb* bomb : {&a, &b, &c}) {
        bomb->addListener(&level);
        bomb->addListener(&player);
    }
    tick(b, 10);  // an older bomb goes off just the same
    setKey(getUserKey(KeyExplodeAll), true);
    testing::internal::CaptureStdout();
    for (Bomb* bomb : {&a, &b, &c}) bomb->update(noGrid, noThings);
    std::cout.flush();
    const std::string out = testing::internal::GetCapturedStdout();
    setKey(getUserKey(KeyExplodeAll), false);

    ASSERT_EQ(6u, log.size());
    const int expectedX[3] = {16, 80, 144};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(1, log[2 * i].listener);
        EXPECT_EQ(2, log[2 * i + 1].listener);
        EXPECT_EQ(expectedX[i], log[2 * i].x);
        EXPECT_EQ(expectedX[i], log[2 * i + 1].x);
    }
    for (Bomb* bomb : {&a, &b, &c}) {
        EXPECT_TRUE(bomb->isDead());
        EXPECT_EQ(0, bomb->getFuse());
    }
    EXPECT_EQ(3, countOf(out, "BOOM!"));
}

TEST(BombExplodeAll, FollowsTheRebindableKey) {
    ScratchDir dir;
    std::vector<Blast> log;
    RecordingListener listener(1, &log);
    userKeys[KeyExplodeAll] = SDLK_x;
    Bomb bomb(0, 0);
    bomb.addListener(&listener);
    setKey(SDLK_s, true);  // the default binding no longer counts
    tick(bomb, 1);
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(59, bomb.getFuse());
    setKey(SDLK_x, true);
    testing::internal::CaptureStdout();
    tick(bomb, 1);
    std::cout.flush();
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(1u, log.size());
    EXPECT_TRUE(bomb.isDead());
}

TEST(BombSparks, ThirtySparksFromTheTopLeftCornerInBlastColours) {
    ScratchDir dir;
    Bomb bomb(100, 200);
    ASSERT_TRUE(particles.empty());
    detonate(bomb);
    ASSERT_EQ(30u, particles.size());
    for (const Particle* spark : particles) {
        EXPECT_EQ(100, spark->x);
        EXPECT_EQ(200, spark->y);
        EXPECT_GE(spark->colour.r, 128);
        EXPECT_LE(spark->colour.g, 239);
        EXPECT_LE(spark->colour.b, 127);
        EXPECT_EQ(100, spark->life);
    }
}

TEST(BombSparks, ColoursDrawRedGreenBlueBeforeEachSparkFlies) {
    ScratchDir dir;
    Bomb bomb(0, 0);
    tick(bomb, 59);
    // Replay the C library's sequence: three colour draws, then the spark's own two.
    std::srand(12345);
    std::vector<SDL_Color> expected;
    for (int i = 0; i < 30; ++i) {
        SDL_Color c;
        c.r = static_cast<Uint8>(128 + std::rand() % 128);
        c.g = static_cast<Uint8>(std::rand() % 240);
        c.b = static_cast<Uint8>(std::rand() % 128);
        std::rand();
        std::rand();
        expected.push_back(c);
    }
    std::srand(12345);
    detonate(bomb);
    ASSERT_EQ(30u, particles.size());
    int i = 0;
    for (const Particle* spark : particles) {
        EXPECT_EQ(expected[i].r, spark->colour.r) << "spark " << i;
        EXPECT_EQ(expected[i].g, spark->colour.g) << "spark " << i;
        EXPECT_EQ(expected[i].b, spark->colour.b) << "spark " << i;
        ++i;
    }
}

TEST(BombDraw, BlinksSlowlyThenFastInTheLastFrames) {
    ScratchDir dir;
    writeBombStrip(dir);
    SDL_Surface* canvas = SDL_CreateRGBSurface(SDL_SWSURFACE, 640, 480, 32, 0x00FF0000,
                                               0x0000FF00, 0x000000FF, 0);
    Bomb bomb(130, 50);
    const SDL_Rect view = {100, 40, 640, 480};
    std::vector<int> early;
    for (int i = 0; i < 4; ++i) {
        bomb.draw(canvas, &view);
        early.push_back(frameAt(canvas, 30, 10));
    }
    EXPECT_EQ((std::vector<int>{0, 1, 0, 1}), early);
    // Only a tile is copied, at the camera-relative position.
    EXPECT_EQ(-1, frameAt(canvas, 62, 10));
    EXPECT_EQ(-1, frameAt(canvas, 29, 10));

    tick(bomb, 46);
    ASSERT_EQ(14, bomb.getFuse());
    std::vector<int> late;
    for (int i = 0; i < 4; ++i) {
        bomb.draw(canvas, &view);
        late.push_back(frameAt(canvas, 61, 41));
    }
    EXPECT_EQ((std::vector<int>{3, 2, 3, 2}), late);
    SDL_FreeSurface(canvas);
}


TEST(BombInPlay, LevelStepRemovesTheBombInTheStepItExplodes) {
    // Runs the real Level and Player.
    ScratchDir dir;
    dir.write("data/levels/field.lvl", "3 2\n0 1\n4 1\n0 1\nField\n");
    Level level(1, SDL_GetVideoSurface());
    ASSERT_TRUE(level.load("data/levels/field.lvl"));
    Bomb* bomb = new Bomb(0, 0);
    bomb->addListener(&level);
    bomb->addListener(&level.getPlayer());
    level.addThing(bomb);
    testing::internal::CaptureStdout();
    for (int i = 0; i < 59; ++i) level.step();
    const size_t before = level.getThings().size();
    level.step();
    std::cout.flush();
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(1u, before);
    EXPECT_TRUE(level.getThings().empty());
    EXPECT_EQ(1, countOf(out, "BOOM!"));
    EXPECT_EQ(8, level.getShake());
}

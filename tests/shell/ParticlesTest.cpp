#include "shell/Particles.h"

#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

// A black 64 by 64 canvas of the screen's kind, and a clean spark list.
class ParticlesTest : public ::testing::Test {
protected:
    void SetUp() override {
        clearParticles();
        canvas = SDL_CreateRGBSurface(SDL_SWSURFACE, 64, 64, 32, 0x00FF0000, 0x0000FF00,
                                      0x000000FF, 0);
        ASSERT_NE(canvas, nullptr);
        blank();
    }
    void TearDown() override {
        clearParticles();
        SDL_FreeSurface(canvas);
    }

    void blank() { SDL_FillRect(canvas, nullptr, 0); }

    // A spark at (x, y) that stays put when stepped once: vy -1 plus gravity is 0.
    Particle* still(int x, int y, SDL_Color colour = white) {
        spawnParticle(x, y, colour);
        Particle* spark = particles.back();
        spark->vx = 0;
        spark->vy = -1;
        return spark;
    }

    bool lit(int x, int y) {
        const SDL_Color c = pixelAt(canvas, x, y);
        return c.r || c.g || c.b;
    }

    // The lit pixels' bounding box; w 0 when nothing is lit.
    SDL_Rect litBox() {
        int minX = 64, minY = 64, maxX = -1, maxY = -1;
        for (int y = 0; y < 64; ++y) {
            for (int x = 0; x < 64; ++x) {
                if (!lit(x, y)) continue;
                if (x < minX) minX = x;
                if (y < minY) minY = y;
                if (x > maxX) maxX = x;
                if (y > maxY) maxY = y;
            }
        }
        if (maxX < 0) return SDL_Rect{0, 0, 0, 0};
        return SDL_Rect{Sint16(minX), Sint16(minY), Uint16(maxX - minX + 1),
                        Uint16(maxY - minY + 1)};
    }

    int litCount() {
        int count = 0;
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 64; ++x)
                if (lit(x, y)) ++count;
        return count;
    }

    static constexpr SDL_Color white = {255, 255, 255, 0};
    const SDL_Rect origin = {0, 0, 0, 0};
    SDL_Surface* canvas = nullptr;
};

constexpr SDL_Color ParticlesTest::white;

TEST_F(ParticlesTest, ColourWordHoldsRedInTheLowestByte) {
    const SDL_Color blue = particleColour(0xFF0000);
    EXPECT_EQ(blue.r, 0);
    EXPECT_EQ(blue.g, 0);
    EXPECT_EQ(blue.b, 255);
    const SDL_Color mixed = particleColour(0x123456);
    EXPECT_EQ(mixed.r, 0x56);
    EXPECT_EQ(mixed.g, 0x34);
    EXPECT_EQ(mixed.b, 0x12);
}

TEST_F(ParticlesTest, SpawnTakesVxThenVyFromRandInTheirRanges) {
    std::srand(1234);
    const int vx = std::rand() % 30 - 15;
    const int vy = std::rand() % 20 - 15;
    std::srand(1234);
    spawnParticle(7, 9, particleColour(0x00FF00));
    ASSERT_EQ(particles.size(), 1u);
    const Particle* spark = particles.front();
    EXPECT_EQ(spark->x, 7);
    EXPECT_EQ(spark->y, 9);
    EXPECT_EQ(spark->vx, vx);
    EXPECT_EQ(spark->vy, vy);
    EXPECT_EQ(spark->life, 100);
    EXPECT_EQ(spark->colour.g, 255);

    for (int i = 0; i < 300; ++i) spawnParticle(0, 0, white);
    int lowVx = 0, highVx = 0, lowVy = 0, highVy = 0;
    for (const Particle* p : particles) {
        ASSERT_GE(p->vx, -15);
        ASSERT_LE(p->vx, 14);
        ASSERT_GE(p->vy, -15);
        ASSERT_LE(p->vy, 4);
        lowVx += p->vx == -15;
        highVx += p->vx == 14;
        lowVy += p->vy == -15;
        highVy += p->vy == 4;
    }
    // Both ends of each range turn up in 300 draws.
    EXPECT_GT(lowVx + highVx, 0);
    EXPECT_GT(lowVy, 0);
    EXPECT_GT(highVy, 0);
}

TEST_F(ParticlesTest, SizeCyclesWithLife) {
    still(20, 20);
    const int widths[] = {4, 3, 2, 1};
    const int heights[] = {2, 1, 4, 3};
    for (int frame = 0; frame < 4; ++frame) {
        blank();
        particles.front()->vy = -1;
        stepParticles(canvas, &origin);
        EXPECT_EQ(particles.front()->life, 99 - frame);
        const SDL_Rect box = litBox();
        EXPECT_EQ(box.x, 20) << "life " << 99 - frame;
        EXPECT_EQ(box.y, 20) << "life " << 99 - frame;
        EXPECT_EQ(box.w, widths[frame]) << "life " << 99 - frame;
        EXPECT_EQ(box.h, heights[frame]) << "life " << 99 - frame;
        EXPECT_EQ(litCount(), widths[frame] * heights[frame]);
    }
}

TEST_F(ParticlesTest, WhiteFadesASixteenthPerFrameRoundedDown) {
    still(10, 10);
    const int expected[] = {239, 224, 210, 196};
    for (int value : expected) {
        particles.front()->vy = -1;
        stepParticles(canvas, &origin);
        const SDL_Color stored = particles.front()->colour;
        EXPECT_EQ(stored.r, value);
        EXPECT_EQ(stored.g, value);
        EXPECT_EQ(stored.b, value);
        const SDL_Color drawn = pixelAt(canvas, 10, 10);
        EXPECT_EQ(drawn.r, value);
        EXPECT_EQ(drawn.b, value);
    }
}

TEST_F(ParticlesTest, GravityBendsTheFlightBackToTheStartHeight) {
    spawnParticle(30, 500, white);
    Particle* spark = particles.front();
    spark->vx = 2;
    spark->vy = -15;
    stepParticles(canvas, &origin);
    EXPECT_EQ(spark->y, 500 - 14);
    EXPECT_EQ(spark->x, 32);
    stepParticles(canvas, &origin);
    EXPECT_EQ(spark->y, 500 - 14 - 13);
    for (int frame = 2; frame < 29; ++frame) stepParticles(canvas, &origin);
    EXPECT_EQ(spark->y, 500);
    EXPECT_EQ(spark->vy, 14);
    EXPECT_EQ(spark->x, 30 + 2 * 29);
}

TEST_F(ParticlesTest, DrawnAHundredTimesThenGone) {
    still(5, 5);
    for (int frame = 0; frame < 100; ++frame) {
        particles.front()->vy = -1;
        blank();
        stepParticles(canvas, &origin);
        ASSERT_EQ(particles.size(), 1u) << "frame " << frame;
        // Late frames fade to black, so count life rather than lit pixels.
        EXPECT_EQ(particles.front()->life, 99 - frame);
    }
    blank();
    stepParticles(canvas, &origin);
    EXPECT_TRUE(particles.empty());
    EXPECT_EQ(litCount(), 0);
}

TEST_F(ParticlesTest, CameraOffsetIsSubtracted) {
    still(120, 70);
    const SDL_Rect view = {100, 50, 640, 480};
    stepParticles(canvas, &view);
    const SDL_Rect box = litBox();
    EXPECT_EQ(box.x, 20);
    EXPECT_EQ(box.y, 20);
}

TEST_F(ParticlesTest, WithoutCameraTheClipRectangleGivesTheOffset) {
    SDL_Rect clip = {4, 6, 50, 50};
    SDL_SetClipRect(canvas, &clip);
    still(24, 26);
    stepParticles(canvas, nullptr);
    const SDL_Rect box = litBox();
    EXPECT_EQ(box.x, 20);
    EXPECT_EQ(box.y, 20);
}

TEST_F(ParticlesTest, ClearingEmptiesTheListAndLaterStepsDrawNothing) {
    still(10, 10);
    still(20, 20);
    still(30, 30);
    clearParticles();
    EXPECT_TRUE(particles.empty());
    stepParticles(canvas, &origin);
    EXPECT_EQ(litCount(), 0);
}

TEST_F(ParticlesTest, ExpiryInTheMiddleDoesNotSkipTheNext) {
    Particle* first = still(10, 10);
    Particle* doomed = still(20, 20);
    Particle* last = still(30, 30);
    doomed->life = 0;
    stepParticles(canvas, &origin);
    ASSERT_EQ(particles.size(), 2u);
    EXPECT_EQ(particles.front(), first);
    EXPECT_EQ(particles.back(), last);
    EXPECT_EQ(first->life, 99);
    EXPECT_EQ(last->life, 99);
    EXPECT_TRUE(lit(10, 10));
    EXPECT_FALSE(lit(20, 20));
    EXPECT_TRUE(lit(30, 30));
}

}  // namespace

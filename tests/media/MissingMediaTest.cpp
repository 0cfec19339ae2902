// A data directory holding nothing but the level file: no images, no sound
// effects, no music, no font. Everything loads as null, and the game plays
// on invisibly and silently instead of crashing.
#include "level/Level.h"
#include "menus/MessageBox.h"
#include "menus/Settings.h"
#include "player/Player.h"
#include "shell/Game.h"
#include "shell/Particles.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>

namespace {

// Every object kind stands on a floor: the start, then kinds 28 to 39 (the
// hint with its text, the portal with its target), one column each.
std::string everyKindLevel() {
    std::string text = "14 3\n4 0 1\n";
    for (int kind = 28; kind <= 39; ++kind) {
        std::string params;
        if (kind == 28) params = " Mind the gap Burmashave.";
        if (kind == 29) params = " 0 0";
        text += std::to_string(kind) + params + " 0 1\n";
    }
    return text + "0 0 1\nNo_media\n";
}

bool screenIsOneColour(SDL_Surface* screen, SDL_Color colour) {
    for (int y = 0; y < screen->h; y += 3) {
        for (int x = 0; x < screen->w; x += 3) {
            const SDL_Color c = pixelAt(screen, x, y);
            if (c.r != colour.r || c.g != colour.g || c.b != colour.b) return false;
        }
    }
    return true;
}

class MissingMedia : public testing::Test {
protected:
    // The game's narration of every failed load is dropped; gtest's own
    // report does not go through these streams.
    void SetUp() override {
        gameOut = std::cout.rdbuf(swallowed.rdbuf());
        gameErr = std::cerr.rdbuf(swallowed.rdbuf());
        dir.write("data/levels/level01.lvl", everyKindLevel());
        level.reset(new Level(1, screen));
        loaded = level->load("");
    }
    void TearDown() override {
        level.reset();
        clearParticles();
        releaseMessageOverlay();
        std::cout.rdbuf(gameOut);
        std::cerr.rdbuf(gameErr);
    }
    void frame() {
        level->step();
        fillScreen(screen, backgroundColour(1));
        level->draw();
    }

    ScratchDir dir;
    SDL_Surface* screen = SDL_GetVideoSurface();
    std::unique_ptr<Level> level;
    bool loaded = false;
    std::ostringstream swallowed;
    std::streambuf* gameOut = nullptr;
    std::streambuf* gameErr = nullptr;
};

TEST_F(MissingMedia, EveryObjectLoadsAndNothingIsDrawn) {
    ASSERT_TRUE(loaded);
    EXPECT_EQ(level->getThings().size(), 12u);
    for (int i = 0; i < 30; ++i) frame();
    // No tile, object, hero, status icon or text image: only the fill shows.
    EXPECT_TRUE(screenIsOneColour(screen, backgroundColour(1)));
}

TEST_F(MissingMedia, BombsGoOffWithoutImagesOrSounds) {
    ASSERT_TRUE(loaded);
    Player& player = level->getPlayer();
    player.setStatus(StatusTerrorist);
    player.setBombs(2);
    for (int i = 0; i < 5; ++i) frame();
    pushKeyDown(getUserKey(KeyLayBomb));
    SDL_Event event;
    while (SDL_PollEvent(&event)) level->handleEvent(event);
    EXPECT_EQ(player.getBombs(), 1);
    int shook = 0;
    for (int i = 0; i < 120; ++i) {
        frame();
        shook = std::max(shook, level->getShake());
    }
    EXPECT_GT(shook, 0);
}

TEST_F(MissingMedia, AMessageBoxWithoutItsFontStillVeilsAndWaits) {
    ASSERT_TRUE(loaded);
    // Level 2's dark red, so the white veil shows.
    fillScreen(screen, backgroundColour(2));
    pushKeyDown(SDLK_SPACE);
    showMessage("Nobody can read this", screen);
    // The veil is drawn even though the text cannot be.
    EXPECT_FALSE(screenIsOneColour(screen, backgroundColour(2)));
    const SDL_Color veiled = pixelAt(screen, 5, 5);
    EXPECT_GT(veiled.g, 150);
    SDL_Event event;
    EXPECT_EQ(SDL_PollEvent(&event), 0);  // the key that closed it was consumed
}

}  // namespace

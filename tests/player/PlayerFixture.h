#pragma once

// A Level whose grid the test fills by hand, and the Player inside it.

#include "level/Level.h"
#include "menus/Settings.h"
#include "player/Player.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

class PlayerFixture : public ::testing::Test {
protected:
    void TearDown() override {
        level.reset();
        tileSize = 32;
        for (int i = 0; i < userKeyCount; ++i) userKeys[i] = defaultUserKeys[i];
    }

    // A columns by rows level at tile size t, empty but for a wall floor row
    // when floorRow is inside it.
    void build(int t, int columns, int rows, int floorRow = -1) {
        level.reset();  // one Player at a time: they share the sound slots
        tileSize = t;
        level = std::make_unique<Level>(1, SDL_GetVideoSurface());
        grid().assign(columns, std::vector<int>(rows, 0));
        if (floorRow >= 0) {
            for (int c = 0; c < columns; ++c) grid()[c][floorRow] = 1;
        }
    }

    // Puts the Player on cell (col, row) and lets it land there.
    void standAt(int col, int row) {
        player().setStart(col * tileSize, row * tileSize);
        frame();
        ASSERT_TRUE(player().isGrounded());
    }

    Player& player() { return level->getPlayer(); }
    Grid& grid() { return level->getGrid(); }
    void frame() { player().update(grid(), level->getThings()); }
    int x() { return player().getRect()->x; }
    int y() { return player().getRect()->y; }

    void press(int action) {
        SDL_Event event = {};
        event.type = SDL_KEYDOWN;
        event.key.type = SDL_KEYDOWN;
        event.key.keysym.sym = static_cast<SDLKey>(getUserKey(action));
        player().handleEvent(event);
    }
    void hold(int action, bool down = true) { setKey(getUserKey(action), down); }

    ScratchDir dir;
    std::unique_ptr<Level> level;
};

// A stand-in object at a cell that answers every touch with `answer`;
// with useUp it is spent (dead) by its first touch, as a Milk or Door is.
class StubThing final : public Thing {
public:
    StubThing(int col, int row, int answer, bool useUp = false)
        : Thing(col, row), answer(answer), useUp(useUp) {}
    int touch(Player*) override {
        ++touches;
        if (useUp) dead = true;
        return answer;
    }
    int touches = 0;

private:
    int answer;
    bool useUp;
};

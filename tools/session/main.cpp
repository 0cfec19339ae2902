// curdovar-session: a whole scripted session of the game, the way the main
// loop runs it, for the leak check under valgrind. Each game starts on a new
// Level at the menu, advances through every level file there is (loading
// the levels' music, writing checkpoints), plays each level for a while with
// seeded random input, bombs laid and set off, a hint box opened and closed,
// reloads it once, and ends in a game over; then the next game starts on a
// fresh Level, as after a game over in the real game.
//
//   curdovar-session [--frames N] [--games G] [--tilesize T] [--seed S]
//
// Run it where data/ is (levels, images, fonts, sound, preferences).
// Exit status 0 when every game ended in its game over, 1 otherwise.
#include "level/Level.h"
#include "media/Sound.h"
#include "menus/MessageBox.h"
#include "menus/Settings.h"
#include "shell/Clock.h"
#include "tools/common/Headless.h"
#include "shell/Particles.h"

#include <SDL.h>

#include <cstdlib>
#include <cstring>
#include <iostream>
#include <random>
#include <sstream>
#include <string>

namespace {

constexpr int livesLostAtMost = 1000;  // a game over must come long before this
constexpr int bombsHandedOut = 3;      // per level, so every level sees blasts
constexpr Uint32 stallLimitMs = 10000; // driven time a message box may wait for its key

struct Session {
    std::mt19937 random;
    SDL_Surface* screen = nullptr;
    int framesPerLevel = 0;
    long framesPlayed = 0;
    int levelsPlayed = 0;

    bool chance(int percent) { return static_cast<int>(random() % 100) < percent; }

    void frame(Level& level) {
        Level* current = &level;
        playClosingHints(current, screen);
        ++framesPlayed;
    }

    void play(Level& level, int frames) {
        int direction = 1;
        level.getPlayer().setBombs(level.getPlayer().getBombs() + bombsHandedOut);
        for (int i = 0; i < frames; ++i) {
            if (chance(5)) direction = static_cast<int>(random() % 3) - 1;
            holdKey(getUserKey(KeyLeft), direction < 0);
            holdKey(getUserKey(KeyRight), direction > 0);
            holdKey(getUserKey(KeyExplodeAll), chance(3));
            if (chance(8)) pressKey(getUserKey(KeyJump));
            if (chance(3)) pressKey(getUserKey(KeyLayBomb));
            if (chance(2)) pressKey(getUserKey(KeyQueryHint));
            frame(level);
        }
        holdKey(getUserKey(KeyLeft), false);
        holdKey(getUserKey(KeyRight), false);
        holdKey(getUserKey(KeyExplodeAll), false);
        // One box for sure on every level, whether or not the hero met a sign.
        pressKey(SDLK_SPACE);
        showMessage("A message box opened and closed by the session", screen);
        SDL_Event event;
        while (SDL_PollEvent(&event)) {}
    }

    // A whole game from the menu to its game over; false when it never ended.
    bool game() {
        Level* level = new Level(0, screen);
        level->load("data/levels/menu.lvl");
        play(*level, framesPerLevel);
        while (level->advanceLevel()) {
            ++levelsPlayed;
            play(*level, framesPerLevel);
            level->load("");
            play(*level, framesPerLevel / 4);
        }
        for (int i = 0; i < livesLostAtMost && !level->isGameOver(); ++i) {
            level->getPlayer().die();
            frame(*level);
        }
        const bool over = level->isGameOver();
        delete level;
        releaseMessageOverlay();
        clearParticles();
        writePreferences();
        return over;
    }
};

}  // namespace

int main(int argc, char** argv) {
    int frames = 300;
    int games = 2;
    int size = 16;
    unsigned seed = 1;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--frames" && hasValue) {
            frames = std::atoi(argv[++i]);
        } else if (arg == "--games" && hasValue) {
            games = std::atoi(argv[++i]);
        } else if (arg == "--tilesize" && hasValue) {
            size = std::atoi(argv[++i]);
        } else if (arg == "--seed" && hasValue) {
            seed = static_cast<unsigned>(std::strtoul(argv[++i], nullptr, 10));
        } else {
            std::cerr << "usage: curdovar-session [--frames N] [--games G] [--tilesize T] "
                         "[--seed S]\n";
            return 2;
        }
    }
    if (frames < 1 || games < 1 || size < 1) {
        std::cerr << "curdovar-session: frames, games and tile size must be positive\n";
        return 2;
    }

    tileSize = size;
    Session session;
    session.random.seed(seed);
    session.framesPerLevel = frames;
    session.screen = startHeadless(size);
    if (!session.screen) return 2;
    useManualClock(0);
    // A message box that never gets its key would wait for ever: fail instead.
    setClockStallGuard(stallLimitMs, [] {
        std::cerr << "curdovar-session: a message box waited for a key that never came\n";
        std::exit(1);
    });
    // Music on, so tracks play while the next level's track replaces them.
    musicOn = true;

    // The game narrates every load, death and blast; keep only the verdict.
    std::streambuf* gameOutput = std::cout.rdbuf();
    std::ostringstream swallowed;
    std::cout.rdbuf(swallowed.rdbuf());
    int failures = 0;
    for (int g = 0; g < games; ++g) {
        if (!session.game()) ++failures;
        swallowed.str("");
    }
    std::cout.rdbuf(gameOutput);

    std::cout << "curdovar-session: " << games << " games, " << session.levelsPlayed
              << " levels, " << session.framesPlayed << " frames, "
              << (failures == 0 ? "every game ended in a game over" : "a game never ended")
              << "\n";
    stopHeadless();
    return failures == 0 ? 0 : 1;
}

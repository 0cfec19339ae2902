#include "shell/Game.h"

#include "level/Level.h"
#include "menus/Settings.h"
#include "shell/Clock.h"
#include "shell/Particles.h"
#include "tests/shell/SilentTrack.h"
#include "tests/support/TestSupport.h"

#include <SDL_mixer.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <functional>
#include <iostream>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace {

const std::string defaultPrefs = "1\n32\n0\n260 97 100 113 101 115 \n";

int countOf(const std::string& text, const std::string& part) {
    int count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++count;
    }
    return count;
}

std::string caption() {
    char* title = nullptr;
    char* icon = nullptr;
    SDL_WM_GetCaption(&title, &icon);
    return title ? title : "";
}

// Runs the real outer loop in an empty data/ tree on the virtual clock. The
// frame observer scripts the run: it sees every drawn frame and pushes the
// next key presses.
class MainLoopTest : public ::testing::Test {
protected:
    void SetUp() override {
        useManualClock(10000);
        SDL_WM_SetCaption(startCaption, nullptr);
    }
    void TearDown() override {
        setFrameObserver(nullptr);
        useRealClock();
        drainEvents();
        SDL_Surface* screen = SDL_GetVideoSurface();
        if (screen->w != 640 || screen->h != 480) SDL_SetVideoMode(640, 480, 32, 0);
        SDL_WM_SetCaption(startCaption, nullptr);
    }

    // Runs the loop with output captured; a safety net quits after many frames.
    void run(std::function<void(Level&, int frame)> script) {
        frames = 0;
        setFrameObserver([this, script](Level& level) {
            ++frames;
            if (frames > 500) {
                pushKeyDown(SDLK_ESCAPE);
                return;
            }
            script(level, frames);
        });
        testing::internal::CaptureStdout();
        testing::internal::CaptureStderr();
        runMainLoop();
        std::cout.flush();
        std::cerr.flush();
        fflush(stdout);
        fflush(stderr);
        out = testing::internal::GetCapturedStdout();
        err = testing::internal::GetCapturedStderr();
        ASSERT_LE(frames, 500) << "the loop never quit";
    }

    ScratchDir dir;
    int frames = 0;
    std::string out;
    std::string err;  // the level's loaders complain about the empty data/ tree
};

TEST_F(MainLoopTest, EscapeBeforeTheFirstFrameQuitsAndCleansUp) {
    spawnParticle(1, 1, particleColour(0xFFFFFF));
    pushKeyDown(SDLK_ESCAPE);
    run([](Level&, int) {});
    EXPECT_EQ(frames, 0);  // the frame is abandoned, nothing is drawn
    EXPECT_TRUE(particles.empty());
    EXPECT_EQ(dir.read("data/preferences/prefs.cdv"), defaultPrefs);
    EXPECT_EQ(countOf(out, "No prefs file found\n"), 1);
    EXPECT_EQ(caption(), startCaption);
}

TEST_F(MainLoopTest, WindowCloseQuitsLikeEscape) {
    pushQuit();
    run([](Level&, int) {});
    EXPECT_EQ(frames, 0);
    EXPECT_TRUE(dir.exists("data/preferences/prefs.cdv"));
}

TEST_F(MainLoopTest, FramesAreThirtyThreeMillisecondsAndSlowOnesAreNotMadeUp) {
    std::vector<Uint32> ticks;
    run([&ticks](Level&, int frame) {
        ticks.push_back(clockTicks());
        if (frame == 2) advanceClock(50);  // this frame overran by 17 ms
        if (frame == 4) pushKeyDown(SDLK_ESCAPE);
    });
    ASSERT_EQ(ticks.size(), 4u);
    EXPECT_EQ(ticks[0], 10000u);  // the first deadline is the start of the pass
    EXPECT_EQ(ticks[1] - ticks[0], 33u);
    EXPECT_EQ(ticks[2] - ticks[1], 50u);
    EXPECT_EQ(ticks[3] - ticks[2], 33u);
}

TEST_F(MainLoopTest, KeyFourLeavesTheMenuAndInTheGameSkipsALevel) {
    std::string captionInGame;
    std::string expectedCaption;
    run([&](Level& level, int frame) {
        if (frame == 1) {
            pushKeyDown(SDLK_4);
        } else if (frame == 2) {
            // The first game frame: leaving the menu does not rename the window.
            EXPECT_EQ(caption(), startCaption);
            pushKeyDown(SDLK_4);
        } else if (frame == 3) {
            captionInGame = caption();
            expectedCaption = "Curdovar II: " + level.getName();
            pushKeyDown(SDLK_ESCAPE);
        }
    });
    EXPECT_EQ(frames, 3);
    // Only the first 4 leaves the menu; the second advances inside the game.
    EXPECT_EQ(countOf(out, "Exit Menu\n"), 1);
    EXPECT_EQ(captionInGame, expectedCaption);
    // Escape in the game ends the program rather than returning to the menu.
    EXPECT_EQ(countOf(out, "No prefs file found\n"), 1);
    EXPECT_TRUE(dir.exists("data/preferences/prefs.cdv"));
}

TEST_F(MainLoopTest, ContinueStartsTheCheckpointLevelAsANewGameAndNamesTheWindow) {
    // A menu and a level 3, each the start above a wall: nobody dies on the way.
    dir.write("data/levels/menu.lvl", "1 2\n4 1\nMenu\n");
    dir.write("data/levels/level03.lvl", "1 2\n4 1\nThird_Room\n");
    dir.write("Check.ckp", "3\nThird Room\n");
    int number = -1;
    std::string captionInGame;
    int lives = -1;
    int form = -1;
    int status = -1;
    run([&](Level& level, int frame) {
        if (frame == 1) {
            level.getPlayer().setFlag(ContinueGame);
        } else if (frame == 2) {
            number = level.getLevelNumber();
            captionInGame = caption();
            lives = level.getPlayer().getLives();
            form = level.getPlayer().getForm();
            status = level.getPlayer().getStatus();
            pushKeyDown(SDLK_ESCAPE);
        }
    });
    EXPECT_EQ(frames, 2);
    EXPECT_EQ(number, 3);
    EXPECT_EQ(captionInGame, "Curdovar II: Third Room");
    EXPECT_EQ(lives, 5);
    EXPECT_EQ(form, FormNormal);
    EXPECT_EQ(status, StatusNormal);
    EXPECT_EQ(countOf(out, "Continue at level 3\n"), 1);
    EXPECT_EQ(countOf(out, "Exit Menu\n"), 1);
}

TEST_F(MainLoopTest, GameOverReturnsToTheMenuOnANewPass) {
    std::vector<int> passFrames;
    run([&](Level& level, int frame) {
        if (frame == 1) {
            level.getPlayer().setFlag(GameOver);
        } else if (!level.isGameOver()) {
            // A fresh Level: the loop came round to the menu again.
            passFrames.push_back(frame);
            pushKeyDown(SDLK_ESCAPE);
        }
    });
    // Frame 1 in the menu, frame 2 in the game phase (which sees the flag at
    // once), frame 3 on the next pass's menu level.
    EXPECT_EQ(frames, 3);
    ASSERT_EQ(passFrames.size(), 1u);
    EXPECT_EQ(passFrames[0], 3);
    // Game over does not advance a level; the second pass reads the file the
    // first one wrote.
    EXPECT_EQ(countOf(out, "Exit Menu\n"), 0);
    EXPECT_EQ(countOf(out, "No prefs file found\n"), 1);
    EXPECT_EQ(countOf(out, "Reading prefs from data/preferences/prefs.cdv\n"), 1);
    EXPECT_LT(out.find("No prefs file found"), out.find("Reading prefs from"));
}

TEST_F(MainLoopTest, StoredTileSizeResizesTheWindowAtTheStartOfAPass) {
    dir.write("data/preferences/prefs.cdv", "0\n16\n0\n260 97 100 113 101 115 \n");
    int width = 0;
    int height = 0;
    run([&](Level&, int) {
        width = SDL_GetVideoSurface()->w;
        height = SDL_GetVideoSurface()->h;
        pushKeyDown(SDLK_ESCAPE);
    });
    EXPECT_EQ(width, 320);
    EXPECT_EQ(height, 240);
    EXPECT_EQ(tileSize, 16);
}

TEST_F(MainLoopTest, TileSizeChangedDuringAPassWaitsForTheNextPass) {
    std::vector<int> widths;
    run([&](Level& level, int frame) {
        widths.push_back(SDL_GetVideoSurface()->w);
        if (frame == 1) {
            tileSize = 16;  // as the options menu would
            writePreferences();
            level.getPlayer().setFlag(GameOver);
        } else if (!level.isGameOver()) {
            pushKeyDown(SDLK_ESCAPE);
        }
    });
    ASSERT_EQ(widths.size(), 3u);
    EXPECT_EQ(widths[0], 640);
    EXPECT_EQ(widths[1], 640);  // same pass, old size
    EXPECT_EQ(widths[2], 320);  // next pass, new size
}

TEST_F(MainLoopTest, KeyMPausesAndResumesTheMusic) {
    dir.write("data/sound/music/quiet.wav", silentWave());
    Mix_Music* track = Mix_LoadMUS("data/sound/music/quiet.wav");
    ASSERT_NE(track, nullptr) << Mix_GetError();
    ASSERT_EQ(Mix_PlayMusic(track, -1), 0);
    std::vector<int> paused;
    pushKeyDown(SDLK_m);
    run([&paused](Level& level, int frame) {
        EXPECT_EQ(level.getLevelNumber(), 0);
        paused.push_back(Mix_PausedMusic());
        pushKeyDown(frame < 3 ? SDLK_m : SDLK_ESCAPE);
    });
    Mix_HaltMusic();
    Mix_FreeMusic(track);
    ASSERT_EQ(paused.size(), 3u);
    EXPECT_NE(paused[0], 0);
    EXPECT_EQ(paused[1], 0);
    EXPECT_NE(paused[2], 0);
    EXPECT_EQ(countOf(out, "Exit Menu\n"), 0);
}

// Presses a harmless key every millisecond from another thread until
// stopped, so a modal menu started inside the loop finds a key to leave on.
// Presses that reach the main loop instead do nothing there.
class KeyPresser {
public:
    KeyPresser()
        : worker([this] {
              while (!stopping) {
                  pushKeyDown(SDLK_SPACE);
                  SDL_Delay(1);
              }
          }) {}
    ~KeyPresser() { stop(); }
    void stop() {
        stopping = true;
        if (worker.joinable()) worker.join();
    }

private:
    std::atomic<bool> stopping{false};
    std::thread worker;
};

// What the loop leaves behind after a menu: a new level 0 loaded from the
// menu level's file, no sparks, saved settings.
struct AfterMenu {
    int frame = 0;
    int levelNumber = -1;
    std::string path;
    bool sparksLeft = true;
    bool prefsSaved = false;
};

TEST_F(MainLoopTest, OptionsMenuIsFollowedByAFreshMenuLevel) {
    AfterMenu after;
    KeyPresser presser;
    run([&](Level& level, int frame) {
        if (frame == 1) {
            spawnParticle(5, 5, particleColour(0xFFFFFF));
            level.getPlayer().setFlag(OpenOptions);
        } else if (after.frame == 0) {
            after = {frame, level.getLevelNumber(), level.getPath(), !particles.empty(),
                     dir.exists("data/preferences/prefs.cdv")};
            presser.stop();
            pushKeyDown(SDLK_ESCAPE);
        }
    });
    EXPECT_EQ(after.frame, 2);
    EXPECT_EQ(after.levelNumber, 0);
    EXPECT_EQ(after.path, "data/levels/menu.lvl");
    EXPECT_FALSE(after.sparksLeft);
    EXPECT_TRUE(after.prefsSaved);
    EXPECT_EQ(countOf(out, "Exit Menu\n"), 0);
    EXPECT_EQ(countOf(out, "No prefs file found\n"), 1);  // still the first pass
}

TEST_F(MainLoopTest, ControlsMenuIsFollowedByAFreshMenuLevel) {
    AfterMenu after;
    KeyPresser presser;
    run([&](Level& level, int frame) {
        if (frame == 1) {
            spawnParticle(5, 5, particleColour(0xFFFFFF));
            level.getPlayer().setFlag(OpenControls);
        } else if (after.frame == 0) {
            after = {frame, level.getLevelNumber(), level.getPath(), !particles.empty(),
                     dir.exists("data/preferences/prefs.cdv")};
            presser.stop();
            pushKeyDown(SDLK_ESCAPE);
        }
    });
    EXPECT_EQ(after.frame, 2);
    EXPECT_EQ(after.levelNumber, 0);
    EXPECT_EQ(after.path, "data/levels/menu.lvl");
    EXPECT_FALSE(after.sparksLeft);
    // The controls menu saves nothing itself: this is the loop's write.
    EXPECT_TRUE(after.prefsSaved);
}

TEST_F(MainLoopTest, ExceptionCleansUpBeforeItLeaves) {
    setFrameObserver([](Level&) {
        spawnParticle(3, 3, particleColour(0xFFFFFF));
        throw std::runtime_error("out of memory, say");
    });
    testing::internal::CaptureStdout();
    EXPECT_THROW(runMainLoop(), std::runtime_error);
    testing::internal::GetCapturedStdout();
    EXPECT_TRUE(particles.empty());
    EXPECT_EQ(dir.read("data/preferences/prefs.cdv"), defaultPrefs);
}

}  // namespace

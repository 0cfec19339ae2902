#include "level/Level.h"
#include "menus/Settings.h"
#include "tests/level/LevelTestSupport.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <SDL_mixer.h>

#include <sys/stat.h>

namespace {

const char* const trackNames[] = {"meadow", "caverns", "factory", "glacier", "fortress"};

class Progression : public testing::Test {
protected:
    void SetUp() override { Mix_HaltMusic(); }
    void TearDown() override {
        // The track outlives the level; here nothing comes after to replace it.
        releaseMusic();
    }

    // Level n: a floor, the start cell at (1, n % 3) and the name Level_n.
    void writeLevel(int n) {
        char file[64];
        std::snprintf(file, sizeof file, "data/levels/level%02d.lvl", n);
        dir.write(file, filledLevel(4, 4, 0, "Level_" + std::to_string(n), 1, n % 3));
    }
    // Music files need only exist: the mixer opens MP3 tracks lazily.
    void writeTracks() {
        for (const char* track : trackNames) {
            dir.write(std::string("data/sound/music/") + track + ".mp3", "not really music");
        }
    }
    Captured advance() {
        return capture([&] { advanced = level->advanceLevel(); });
    }

    ScratchDir dir;
    std::unique_ptr<Level> level = quietLevel(0);
    bool advanced = false;
};

TEST_F(Progression, LeavingTheMenuLoadsLevelOneAndSavesACheckpoint) {
    writeLevel(1);
    const Captured output = advance();
    EXPECT_TRUE(advanced);
    EXPECT_EQ(level->getLevelNumber(), 1);
    EXPECT_EQ(level->getPath(), "data/levels/level01.lvl");
    EXPECT_EQ(level->getName(), "Level 1");
    EXPECT_EQ(level->getWidth(), 4);
    const size_t announced = output.out.find("Advance to level 1!\ndata/levels/level01.lvl\n");
    const size_t loading = output.out.find("Loading data/levels/level01.lvl");
    const size_t saved = output.out.find("Checkpoint saved: level 1\n");
    ASSERT_NE(announced, std::string::npos) << output.out;
    ASSERT_NE(loading, std::string::npos);
    ASSERT_NE(saved, std::string::npos);
    EXPECT_LT(announced, loading);
    EXPECT_LT(loading, saved);
    EXPECT_EQ(dir.read("Check.ckp"), "1\nLevel 1\n");
}

TEST_F(Progression, AMissingLevelRaisesTheNumberAndSavesNothing) {
    level = quietLevel(5);
    writeLevel(7);
    const Captured output = advance();
    EXPECT_FALSE(advanced);
    EXPECT_EQ(level->getLevelNumber(), 6);
    EXPECT_NE(output.out.find("Could not load data/levels/level06.lvl.\n"), std::string::npos);
    EXPECT_NE(output.out.find("data/levels/level06.lvl could not be found.\n"), std::string::npos);
    EXPECT_FALSE(dir.exists("Check.ckp"));
    EXPECT_EQ(currentMusic, nullptr);

    // The next try asks for the following number.
    advance();
    EXPECT_TRUE(advanced);
    EXPECT_EQ(level->getLevelNumber(), 7);
    EXPECT_EQ(dir.read("Check.ckp"), "7\nLevel 7\n");
}

TEST_F(Progression, ThePlayerKeepsWhatItCarriesAndMovesToTheNewStart) {
    writeLevel(1);
    writeLevel(2);
    advance();
    Player& player = level->getPlayer();
    player.setLives(2);
    player.setKeys(3);
    player.setBombs(1);
    player.setStatus(StatusGerman);
    player.setForm(FormGoto);
    advance();
    ASSERT_TRUE(advanced);
    EXPECT_EQ(player.getLives(), 2);
    EXPECT_EQ(player.getKeys(), 3);
    EXPECT_EQ(player.getBombs(), 1);
    EXPECT_EQ(player.getStatus(), StatusGerman);
    EXPECT_EQ(player.getForm(), FormGoto);
    EXPECT_EQ(player.getRect()->x, 32);
    EXPECT_EQ(player.getRect()->y, 2 * 32);
    EXPECT_EQ(player.getRespawnY(), 2 * 32);
}

TEST_F(Progression, AnUnwritableCheckpointDoesNotStopTheAdvance) {
    writeLevel(1);
    ASSERT_EQ(mkdir((dir.path() + "/Check.ckp").c_str(), 0755), 0);
    const Captured output = advance();
    EXPECT_TRUE(advanced);
    EXPECT_NE(output.out.find("Could not save progress\n"), std::string::npos);
    EXPECT_EQ(output.out.find("Checkpoint saved"), std::string::npos);
    EXPECT_EQ(level->getLevelNumber(), 1);
}

TEST_F(Progression, AFullDiskKeepsTheLastCheckpoint) {
    writeLevel(1);
    dir.write("Check.ckp", "9\nLevel 9\n");
    std::string out;
    std::string err;
    {
        FailingWrites full;
        advanced = level->advanceLevel();
        out = full.out();
        err = full.err();
    }
    EXPECT_TRUE(advanced);
    EXPECT_NE(out.find("Could not save progress\n"), std::string::npos) << out;
    EXPECT_NE(err.find("Could not write Check.ckp: File too large"), std::string::npos) << err;
    EXPECT_EQ(dir.read("Check.ckp"), "9\nLevel 9\n");
    EXPECT_FALSE(dir.exists("Check.ckp.new"));
}

TEST_F(Progression, LevelsOneToFiveEachLoadTheirOwnTrack) {
    for (int n = 1; n <= 7; ++n) writeLevel(n);
    // Without track files every load attempt shows: two per track (MP3, then FLAC).
    for (int n = 1; n <= 7; ++n) {
        SCOPED_TRACE(n);
        const Captured output = advance();
        ASSERT_TRUE(advanced);
        if (n <= 5) {
            EXPECT_EQ(musicTrackName(n), trackNames[n - 1]);
            EXPECT_EQ(occurrences(output.err, "Error loading "), 2);
            EXPECT_EQ(occurrences(output.err, std::string("Error loading ") + trackNames[n - 1] +
                                                  ": "),
                      2);
        } else {
            EXPECT_EQ(musicTrackName(n), "");
            EXPECT_EQ(occurrences(output.err, "Error loading "), 0);
        }
        EXPECT_EQ(currentMusic, nullptr);
    }
}

TEST_F(Progression, FromLevelSixTheFifthTrackStaysAndRestarts) {
    for (int n = 1; n <= 7; ++n) writeLevel(n);
    writeTracks();
    musicOn = true;
    Mix_Music* fifth = nullptr;
    for (int n = 1; n <= 7; ++n) {
        SCOPED_TRACE(n);
        Mix_HaltMusic();
        const Captured output = advance();
        ASSERT_TRUE(advanced);
        EXPECT_EQ(output.err.find("Error loading"), std::string::npos) << output.err;
        ASSERT_NE(currentMusic, nullptr);
        EXPECT_EQ(Mix_PlayingMusic(), 1);
        EXPECT_EQ(Mix_VolumeMusic(-1), 60);
        if (n == 5) fifth = currentMusic;
        if (n > 5) {
            EXPECT_EQ(currentMusic, fifth);
        }
    }
}

TEST_F(Progression, WithMusicOffTheTrackLoadsButDoesNotPlay) {
    writeLevel(1);
    writeTracks();
    musicOn = false;
    advance();
    ASSERT_TRUE(advanced);
    EXPECT_NE(currentMusic, nullptr);
    EXPECT_EQ(Mix_PlayingMusic(), 0);
    EXPECT_EQ(Mix_VolumeMusic(-1), 60);
}

TEST_F(Progression, AMissingTrackSilencesTheLevel) {
    writeLevel(1);
    writeLevel(2);
    dir.write("data/sound/music/meadow.mp3", "track one");
    musicOn = true;
    advance();
    ASSERT_NE(currentMusic, nullptr);
    advance();
    EXPECT_EQ(currentMusic, nullptr);
    EXPECT_EQ(Mix_PlayingMusic(), 0);
}

}  // namespace

namespace {

// The track outlives the Level that started it: the next game's first
// advance must find and free it, and shutdown frees the last one.
TEST_F(Progression, TheTrackOfAFinishedGameIsReplacedNotForgotten) {
    writeLevel(1);
    writeTracks();
    musicOn = true;
    advance();
    Mix_Music* first = currentMusic;
    ASSERT_NE(first, nullptr);

    // The game ends: the Level goes, the music plays on into the menu.
    level.reset();
    EXPECT_EQ(Mix_PlayingMusic(), 1);
    EXPECT_EQ(currentMusic, first);
    level = quietLevel(0);
    EXPECT_EQ(currentMusic, first);

    advance();
    ASSERT_TRUE(advanced);
    EXPECT_NE(currentMusic, nullptr);
    EXPECT_NE(currentMusic, first);
    
    releaseMusic();
    EXPECT_EQ(currentMusic, nullptr);
    EXPECT_EQ(currentMusic, nullptr);
    EXPECT_EQ(Mix_PlayingMusic(), 0);
}

}  // namespace

// Continuing from the menu: the checkpoint's level when it names one that
// exists, level 1 with a one-line reason for anything else.
class Continue : public Progression {
protected:
    Captured continueGame() {
        return capture([&] { advanced = level->continueFromCheckpoint(); });
    }
};

TEST_F(Continue, AnUnusableCheckpointStartsLevelOneAndSaysWhy) {
    writeLevel(1);
    writeLevel(2);
    const struct {
        bool present;
        std::string content;
        std::string why;
    } cases[] = {
        {false, "", "there is no checkpoint Check.ckp yet"},
        {true, "", "the checkpoint Check.ckp holds no level"},
        {true, "\n\n2\n", "the checkpoint Check.ckp holds no level"},
        {true, "two\nLevel 2\n", "the checkpoint Check.ckp holds no level number"},
        {true, "2x\n", "the checkpoint Check.ckp holds no level number"},
        {true, std::string("\0\xff\x02\x80", 4) + std::string(5000, '\x01'),
         "the checkpoint Check.ckp holds no level number"},
        {true, std::string(200000, '7'),
         "the checkpoint Check.ckp holds a level number out of range 1 to 99"},
        {true, std::string(200000, 'z'), "the checkpoint Check.ckp holds no level number"},
        {true, "0\nMenu\n", "checkpoint level 0 is out of range 1 to 99"},
        {true, "-2\n", "checkpoint level -2 is out of range 1 to 99"},
        {true, "100\n", "checkpoint level 100 is out of range 1 to 99"},
        {true, "4294967297\n",
         "the checkpoint Check.ckp holds a level number out of range 1 to 99"},
        {true, "7\nLevel 7\n", "checkpoint level 7 has no level file data/levels/level07.lvl"},
    };
    for (const auto& c : cases) {
        std::remove("Check.ckp");
        if (c.present) dir.write("Check.ckp", c.content);
        level = quietLevel(0);
        const Captured output = continueGame();
        const std::string line = "Continue: " + c.why + "; starting at level 1\n";
        EXPECT_NE(output.out.find(line), std::string::npos) << c.why << "\n" << output.out;
        EXPECT_TRUE(advanced) << c.why;
        EXPECT_EQ(level->getLevelNumber(), 1) << c.why;
        EXPECT_EQ(level->getPath(), "data/levels/level01.lvl") << c.why;
        // The usual advance follows, so the next continue finds level 1.
        EXPECT_EQ(dir.read("Check.ckp"), "1\nLevel 1\n") << c.why;
    }
}

TEST_F(Continue, AGoodCheckpointStartsItsLevelAsANewGameDoes) {
    writeLevel(1);
    writeLevel(2);
    writeLevel(3);
    // Only the number counts; blanks around it and a missing name are fine.
    for (const std::string content : {"3\nLevel 3\n", "3", " 03 \r\n", "3\n\x01\xff junk"}) {
        dir.write("Check.ckp", content);
        level = quietLevel(0);
        const Captured output = continueGame();
        EXPECT_TRUE(advanced) << content;
        EXPECT_NE(output.out.find("Continue at level 3\nAdvance to level 3!\n"),
                  std::string::npos)
            << output.out;
        EXPECT_EQ(output.out.find("starting at level 1"), std::string::npos) << content;
        EXPECT_EQ(level->getLevelNumber(), 3);
        EXPECT_EQ(level->getName(), "Level 3");
        const Player& player = level->getPlayer();
        EXPECT_EQ(player.getLives(), 5);
        EXPECT_EQ(player.getForm(), FormNormal);
        EXPECT_EQ(player.getStatus(), StatusNormal);
        EXPECT_EQ(dir.read("Check.ckp"), "3\nLevel 3\n");
    }
}

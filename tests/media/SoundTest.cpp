#include "media/Sound.h"

#include "tests/media/SampleFiles.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <string>

namespace {
constexpr int longEffect = 22050 * 3;  // samples: three seconds, so nothing ends mid-test

std::string capturedErr() {
    std::fflush(stderr);
    return testing::internal::GetCapturedStderr();
}

int lineEnds(const std::string& text) {
    int count = 0;
    for (char c : text) count += c == '\n';
    return count;
}
}  // namespace

class Sound : public testing::Test {
protected:
    void SetUp() override {
        int frequency = 0;
        Uint16 format = 0;
        int channels = 0;
        ASSERT_NE(Mix_QuerySpec(&frequency, &format, &channels), 0) << "the mixer is not open";
        Mix_HaltChannel(-1);
    }
    void TearDown() override {
        Mix_HaltChannel(-1);
        releaseEffects();
        setSoundDeviceOpen(true);
    }
    std::string soundPath(const std::string& name) const {
        return dir.path() + "/data/sound/" + name + ".wav";
    }
    ScratchDir dir;
};

TEST_F(Sound, MissingEffectReportsWithoutLineEnd) {
    testing::internal::CaptureStderr();
    Mix_Chunk* jump = loadSound("jump");
    const std::string reason = SDL_GetError();
    const std::string err = capturedErr();
    EXPECT_EQ(jump, nullptr);
    EXPECT_FALSE(reason.empty());
    EXPECT_EQ(err, "Error loading jump: " + reason);

    // Each load reports again, run together on one line.
    testing::internal::CaptureStderr();
    loadSound("jump");
    loadSound("jump");
    EXPECT_EQ(capturedErr(), "Error loading jump: " + reason + "Error loading jump: " + reason);
}

TEST_F(Sound, FlacOnlyTrackLoadsAfterOneMp3Failure) {
    ASSERT_TRUE(writeFile(dir.path() + "/data/sound/music/theme.flac", flacBytes()));
    testing::internal::CaptureStderr();
    Mix_Music* track = loadMusic("theme");
    const std::string err = capturedErr();
    ASSERT_NE(track, nullptr) << err;
    EXPECT_EQ(Mix_GetMusicType(track), MUS_FLAC);
    EXPECT_EQ(err.rfind("Error loading theme: ", 0), 0u) << err;
    EXPECT_EQ(lineEnds(err), 1);
    EXPECT_EQ(err.back(), '\n');
    Mix_FreeMusic(track);
}

TEST_F(Sound, MissingTrackReportsBothAttempts) {
    testing::internal::CaptureStderr();
    Mix_Music* track = loadMusic("silence");
    const std::string reason = SDL_GetError();
    const std::string err = capturedErr();
    EXPECT_EQ(track, nullptr);
    const std::size_t second = err.find("Error loading silence: ", 1);
    ASSERT_NE(second, std::string::npos) << err;
    EXPECT_EQ(err.rfind("Error loading silence: ", 0), 0u);
    EXPECT_EQ(lineEnds(err), 2);
    // The second line carries the reason of the second (FLAC) attempt.
    EXPECT_EQ(err.substr(second), "Error loading silence: " + reason + "\n");
    EXPECT_NE(reason.find(".flac"), std::string::npos) << reason;
}

// Start-up said once that there is no device; loads then fail without a word,
// even of files that are there.
TEST_F(Sound, WithoutADeviceNothingLoadsAndNothingIsSaid) {
    ASSERT_TRUE(writeFile(dir.path() + "/data/sound/music/theme.flac", flacBytes()));
    ASSERT_TRUE(writeFile(soundPath("pterodactyl"), wavBytes(100)));
    setSoundDeviceOpen(false);
    testing::internal::CaptureStderr();
    EXPECT_EQ(loadMusic("theme"), nullptr);
    EXPECT_EQ(loadSound("pterodactyl"), nullptr);
    EXPECT_EQ(loadSound("missing"), nullptr);
    playEffect(0);
    EXPECT_EQ(capturedErr(), "");
    setSoundDeviceOpen(true);
    Mix_Chunk* chunk = loadSound("pterodactyl");
    EXPECT_NE(chunk, nullptr);
    Mix_FreeChunk(chunk);
}

TEST_F(Sound, NamedEffectLoadsOnceAndPlaysEachTime) {
    ASSERT_TRUE(writeFile(soundPath("pterodactyl"), wavBytes(longEffect)));
    testing::internal::CaptureStderr();
    playEffect(0);
    playEffect(0);
    EXPECT_EQ(capturedErr(), "");
    ASSERT_EQ(Mix_Playing(-1), 2);

    std::set<Mix_Chunk*> playing;
    for (int channel = 0; channel < 8; ++channel)
        if (Mix_Playing(channel)) playing.insert(Mix_GetChunk(channel));
    EXPECT_EQ(playing.size(), 1u) << "both plays must share one loaded effect";

    // Kept after the first load: the file is not read again.
    std::remove(soundPath("pterodactyl").c_str());
    testing::internal::CaptureStderr();
    playEffect(0);
    EXPECT_EQ(capturedErr(), "");
    EXPECT_EQ(Mix_Playing(-1), 3);

    // Releasing the slot stops its plays and forgets the effect.
    releaseEffects();
    EXPECT_EQ(Mix_Playing(-1), 0);
    testing::internal::CaptureStderr();
    playEffect(0);
    EXPECT_EQ(capturedErr().rfind("Error loading pterodactyl: ", 0), 0u);
    EXPECT_EQ(Mix_Playing(-1), 0);
}

TEST_F(Sound, FailedNamedEffectIsTriedAgainNextTime) {
    testing::internal::CaptureStderr();
    playEffect(0);
    EXPECT_NE(capturedErr(), "");
    EXPECT_EQ(Mix_Playing(-1), 0);

    ASSERT_TRUE(writeFile(soundPath("pterodactyl"), wavBytes(longEffect)));
    playEffect(0);
    EXPECT_EQ(Mix_Playing(-1), 1);
}

TEST_F(Sound, UnknownEffectNumbersAreRejected) {
    ASSERT_TRUE(writeFile(soundPath("pterodactyl"), wavBytes(longEffect)));
    testing::internal::CaptureStderr();
    playEffect(3);
    EXPECT_EQ(capturedErr(), "SFX 3 not recognized.\n");
    testing::internal::CaptureStderr();
    playEffect(-1);
    playEffect(1);
    EXPECT_EQ(capturedErr(), "SFX -1 not recognized.\nSFX 1 not recognized.\n");
    EXPECT_EQ(Mix_Playing(-1), 0);
}

TEST_F(Sound, ChunksTakeFreeChannelsAndTheNinthIsDropped) {
    ASSERT_TRUE(writeFile(soundPath("blast"), wavBytes(longEffect)));
    Mix_Chunk* blast = loadSound("blast");
    ASSERT_NE(blast, nullptr);
    playChunk(nullptr);
    EXPECT_EQ(Mix_Playing(-1), 0);
    for (int i = 0; i < 8; ++i) playChunk(blast);
    EXPECT_EQ(Mix_Playing(-1), 8);
    // No time limit: the mixer's own thread, running in real time, keeps them going.
    SDL_Delay(100);
    EXPECT_EQ(Mix_Playing(-1), 8);
    for (int channel = 0; channel < 8; ++channel) EXPECT_EQ(Mix_GetChunk(channel), blast);

    // A playing effect is never cut short by a new one.
    Mix_Chunk* other = loadSound("blast");
    playChunk(other);
    EXPECT_EQ(Mix_Playing(-1), 8);
    for (int channel = 0; channel < 8; ++channel) EXPECT_EQ(Mix_GetChunk(channel), blast);
    Mix_HaltChannel(-1);
    Mix_FreeChunk(other);
    Mix_FreeChunk(blast);
}

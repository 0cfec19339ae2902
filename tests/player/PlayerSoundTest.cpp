#include "tests/player/PlayerFixture.h"

#include <cstdint>
#include <string>

namespace {

const char* const effectFiles[playerSoundCount] = {
    "curdobloom", "getkey", "jump",   "jumphigh", "splat", "bounce",     "getlife",
    "coughing",   "opendoor", "jump", "pierre",  "prost", "sunglasses", "caflady"};

// A short silent mono 16-bit WAV at 22050 Hz.
std::string silentWav() {
    const std::uint32_t samples = 256;
    std::string bytes;
    auto put = [&bytes](std::uint32_t v, int size) {
        for (int i = 0; i < size; ++i) bytes.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
    };
    bytes += "RIFF";
    put(36 + samples * 2, 4);
    bytes += "WAVEfmt ";
    put(16, 4);
    put(1, 2);          // PCM
    put(1, 2);          // mono
    put(22050, 4);      // samples per second
    put(22050 * 2, 4);  // bytes per second
    put(2, 2);          // bytes per sample frame
    put(16, 2);         // bits per sample
    bytes += "data";
    put(samples * 2, 4);
    bytes.append(samples * 2, '\0');
    return bytes;
}

}  // namespace

using PlayerSounds = PlayerFixture;

TEST_F(PlayerSounds, EffectsLoadInTheirOrder) {
    testing::internal::CaptureStderr();
    build(32, 4, 4);
    const std::string err = testing::internal::GetCapturedStderr();
    size_t from = 0;
    for (const char* name : effectFiles) {
        const size_t at = err.find(std::string("Error loading ") + name + ": ", from);
        ASSERT_NE(at, std::string::npos) << name << " missing or out of order in: " << err;
        from = at + 1;
    }
    for (int i = 0; i < playerSoundCount; ++i) EXPECT_EQ(playerSoundChunk(i), nullptr);
    // Silent effects still count as asked for.
    player().playCough();
    EXPECT_EQ(player().getLastSound(), SoundCough);
}

TEST_F(PlayerSounds, ThePlayerOwnsItsEffectsWhileItLives) {
    for (const char* name : effectFiles) {
        dir.write(std::string("data/sound/") + name + ".wav", silentWav());
    }
    build(32, 4, 4);
    for (int i = 0; i < playerSoundCount; ++i) EXPECT_NE(playerSoundChunk(i), nullptr) << i;
    EXPECT_NE(playerSoundChunk(SoundBlast), playerSoundChunk(SoundJump))
        << "the blast has a chunk of its own";
    player().onExplosion(1000, 1000);
    EXPECT_EQ(player().getLastSound(), SoundBlast);
    level.reset();
    for (int i = 0; i < playerSoundCount; ++i) EXPECT_EQ(playerSoundChunk(i), nullptr) << i;
}

TEST_F(PlayerSounds, AnOutlivedPlayerLeavesTheNewOneItsEffects) {
    dir.write("data/sound/jump.wav", silentWav());
    build(32, 4, 4);
    auto newer = std::make_unique<Level>(0, SDL_GetVideoSurface());
    level.reset();
    EXPECT_NE(playerSoundChunk(SoundJump), nullptr);
    newer.reset();
    EXPECT_EQ(playerSoundChunk(SoundJump), nullptr);
}

// The shipped sounds and the synthesiser that makes them: the generator
// reproduces data/sound exactly, every effect and track the game loads is
// there and loads through SDL_mixer, effects are neither clipped nor silent,
// tracks are long stereo loops that join cleanly and carry their samples'
// MD5, the tool's FLAC writing is lossless, and the text sources mean what they say (tempo, pitch, holds,
// loop tails, placing in the stereo field, echo and room, errors).

#include "level/Level.h"
#include "tests/support/TestSupport.h"

#include <FLAC/stream_decoder.h>
#include <SDL.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr int mixerRate = 22050;
constexpr int fullScale = 32767;
constexpr int trackCount = 5;  // levels 1 to 5 have tracks of their own

// Every effect the game loads: the Player's thirteen files and the Maimframe's.
const std::vector<std::string> effectNames = {
    "curdobloom", "getkey", "jump",   "jumphigh", "splat",      "bounce",  "getlife",
    "coughing",   "opendoor", "pierre", "prost",  "sunglasses", "caflady", "pterodactyl"};

std::vector<uint8_t> readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::string readText(const std::string& path) {
    const std::vector<uint8_t> bytes = readBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

void writeText(const std::string& path, const std::string& text) {
    fs::create_directories(fs::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

// Runs the built synthesiser; its output and errors land in log.
int runSynth(const std::string& arguments, const std::string& log) {
    const std::string command = "'" + buildDir() + "/curdovar-synth' " + arguments + " >'" + log + "' 2>&1";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string quoted(const std::string& path) { return "'" + path + "'"; }

// ---- Reading FLAC back through libFLAC, the decoder the game's mixer plays
// music with, checking the MD5 each file carries against what it decodes.

struct FlacStream {
    int rate = 0;
    int channels = 0;
    int bits = 0;
    uint64_t total = 0;             // samples per channel, from STREAMINFO
    bool hasMd5 = false;            // STREAMINFO carries the samples' MD5
    std::vector<int32_t> samples;   // interleaved
    std::string error;              // empty when the stream decoded cleanly
};

FLAC__StreamDecoderWriteStatus keepSamples(const FLAC__StreamDecoder*, const FLAC__Frame* frame,
                                           const FLAC__int32* const channels[], void* stream) {
    std::vector<int32_t>& samples = static_cast<FlacStream*>(stream)->samples;
    for (unsigned i = 0; i < frame->header.blocksize; ++i) {
        for (unsigned c = 0; c < frame->header.channels; ++c) samples.push_back(channels[c][i]);
    }
    return FLAC__STREAM_DECODER_WRITE_STATUS_CONTINUE;
}

void keepStreamInfo(const FLAC__StreamDecoder*, const FLAC__StreamMetadata* block, void* stream) {
    if (block->type != FLAC__METADATA_TYPE_STREAMINFO) return;
    FlacStream& s = *static_cast<FlacStream*>(stream);
    const FLAC__StreamMetadata_StreamInfo& info = block->data.stream_info;
    s.rate = int(info.sample_rate);
    s.channels = int(info.channels);
    s.bits = int(info.bits_per_sample);
    s.total = info.total_samples;
    s.hasMd5 = std::any_of(std::begin(info.md5sum), std::end(info.md5sum), [](FLAC__byte b) { return b != 0; });
}

void keepError(const FLAC__StreamDecoder*, FLAC__StreamDecoderErrorStatus status, void* stream) {
    std::string& error = static_cast<FlacStream*>(stream)->error;
    if (error.empty()) error = FLAC__StreamDecoderErrorStatusString[status];
}

FlacStream decodeFlac(const std::string& path) {
    FlacStream s;
    FLAC__StreamDecoder* decoder = FLAC__stream_decoder_new();
    FLAC__stream_decoder_set_md5_checking(decoder, true);
    if (FLAC__stream_decoder_init_file(decoder, path.c_str(), keepSamples, keepStreamInfo, keepError, &s) !=
        FLAC__STREAM_DECODER_INIT_STATUS_OK) {
        s.error = "cannot open " + path;
    } else if (!FLAC__stream_decoder_process_until_end_of_stream(decoder)) {
        s.error = FLAC__stream_decoder_get_resolved_state_string(decoder);
    }
    // Finishing is where libFLAC compares the MD5.
    if (!FLAC__stream_decoder_finish(decoder) && s.error.empty()) s.error = "the samples' MD5 does not match";
    FLAC__stream_decoder_delete(decoder);
    if (s.error.empty() && s.samples.size() != s.total * uint64_t(s.channels)) {
        s.error = "sample count differs from STREAMINFO";
    }
    return s;
}

// ---- Measuring decoded sound.

int peakOf(const std::vector<int32_t>& x, std::size_t from = 0, std::size_t to = SIZE_MAX) {
    int peak = 0;
    for (std::size_t i = from; i < std::min(to, x.size()); ++i) peak = std::max(peak, std::abs(x[i]));
    return peak;
}

double rmsOf(const std::vector<int32_t>& x, double fromSeconds, double toSeconds) {
    const std::size_t from = std::size_t(fromSeconds * mixerRate), to = std::size_t(toSeconds * mixerRate);
    double sum = 0;
    for (std::size_t i = from; i < to; ++i) sum += double(x[i]) * x[i];
    return std::sqrt(sum / double(to - from));
}

// Frequency from upward zero crossings between two times (mono).
double frequencyOf(const std::vector<int32_t>& x, double fromSeconds, double toSeconds) {
    const std::size_t from = std::size_t(fromSeconds * mixerRate), to = std::size_t(toSeconds * mixerRate);
    int crossings = 0;
    for (std::size_t i = from + 1; i < to; ++i) crossings += x[i - 1] < 0 && x[i] >= 0;
    return crossings / (toSeconds - fromSeconds);
}

// A WAV file's own samples and format, as SDL reads it.
struct WavFile {
    SDL_AudioSpec spec{};
    std::vector<int32_t> samples;
    bool loaded = false;
};

WavFile loadWav(const std::string& path) {
    WavFile wav;
    Uint8* buffer = nullptr;
    Uint32 length = 0;
    if (!SDL_LoadWAV(path.c_str(), &wav.spec, &buffer, &length)) return wav;
    wav.loaded = true;
    for (Uint32 i = 0; i + 1 < length; i += 2) wav.samples.push_back(int16_t(buffer[i] | buffer[i + 1] << 8));
    SDL_FreeWAV(buffer);
    return wav;
}

std::vector<uint8_t> wavFileBytes(const std::vector<int16_t>& samples, int channels, int rate) {
    std::vector<uint8_t> out;
    auto put = [&](uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i) out.push_back(uint8_t(v >> (8 * i)));
    };
    const uint32_t data = uint32_t(samples.size() * 2);
    out.insert(out.end(), {'R', 'I', 'F', 'F'});
    put(36 + data, 4);
    out.insert(out.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    put(16, 4), put(1, 2), put(uint32_t(channels), 2), put(uint32_t(rate), 4);
    put(uint32_t(rate * channels * 2), 4), put(uint32_t(channels * 2), 2), put(16, 2);
    out.insert(out.end(), {'d', 'a', 't', 'a'});
    put(data, 4);
    for (int16_t v : samples) put(uint16_t(v), 2);
    return out;
}

std::set<std::string> filesUnder(const fs::path& root) {
    std::set<std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        if (entry.is_regular_file()) files.insert(fs::relative(entry.path(), root).string());
    }
    return files;
}

std::string shippedSound() { return sourceDir() + "/data/sound"; }

// ---- The shipped files.

TEST(SoundAssets, TheSynthesiserReproducesEveryShippedSound) {
    ScratchDir scratch;
    const std::string out = scratch.path() + "/rendered";
    ASSERT_EQ(runSynth(quoted(sourceDir() + "/audio") + " " + quoted(out), scratch.path() + "/log"), 0)
        << readText(scratch.path() + "/log");
    const std::set<std::string> shipped = filesUnder(shippedSound());
    ASSERT_EQ(filesUnder(out), shipped) << "the committed sounds and the sources name different files";
    for (const std::string& file : shipped) {
        if (fs::path(file).extension() != ".flac") {
            EXPECT_TRUE(readBytes(shippedSound() + "/" + file) == readBytes(out + "/" + file))
                << file << " differs from a fresh render of its source";
            continue;
        }
        // One libFLAC release packs the same samples into other bytes than the
        // next, so the music is compared by what it plays.
        const FlacStream committed = decodeFlac(shippedSound() + "/" + file), fresh = decodeFlac(out + "/" + file);
        ASSERT_EQ(committed.error, "") << file;
        ASSERT_EQ(fresh.error, "") << file;
        EXPECT_TRUE(fresh.hasMd5) << file << ": no MD5 for players to check the samples against";
        EXPECT_EQ(fresh.rate, committed.rate) << file;
        EXPECT_EQ(fresh.channels, committed.channels) << file;
        EXPECT_TRUE(fresh.samples == committed.samples) << file << " sounds different from a fresh render of its source";
    }
}

TEST(SoundAssets, EveryEffectIsShippedAsCleanMonoPcmThatNeitherClipsNorFadesAway) {
    for (const std::string& name : effectNames) {
        SCOPED_TRACE(name);
        const std::string path = shippedSound() + "/" + name + ".wav";
        const WavFile wav = loadWav(path);
        ASSERT_TRUE(wav.loaded) << SDL_GetError();
        EXPECT_EQ(wav.spec.freq, mixerRate);
        EXPECT_EQ(wav.spec.format, AUDIO_S16LSB);
        EXPECT_EQ(wav.spec.channels, 1);
        const double seconds = double(wav.samples.size()) / mixerRate;
        EXPECT_GT(seconds, 0.05);
        EXPECT_LT(seconds, 1.5) << "effects stay short";
        const int peak = peakOf(wav.samples);
        EXPECT_LT(peak, fullScale * 0.9) << "too close to clipping";
        EXPECT_GT(peak, fullScale * 0.1) << "too quiet to hear over the music";
        // A few milliseconds of fade at each end: no click at start or stop.
        EXPECT_LT(std::abs(wav.samples.front()), 50);
        EXPECT_LT(std::abs(wav.samples.back()), 50);
    }
}

TEST(SoundAssets, EveryEffectLoadsIntoTheMixer) {
    int frequency = 0, channels = 0;
    Uint16 format = 0;
    ASSERT_NE(Mix_QuerySpec(&frequency, &format, &channels), 0) << "the mixer did not open";
    ASSERT_EQ(format, AUDIO_S16LSB);
    for (const std::string& name : effectNames) {
        const std::string path = shippedSound() + "/" + name + ".wav";
        Mix_Chunk* chunk = Mix_LoadWAV_RW(SDL_RWFromFile(path.c_str(), "rb"), 1);
        ASSERT_NE(chunk, nullptr) << name << ": " << Mix_GetError();
        // Converted to the mixer's 16-bit format, the effect still holds its sound.
        int peak = 0;
        const Sint16* samples = reinterpret_cast<const Sint16*>(chunk->abuf);
        for (Uint32 i = 0; i < chunk->alen / 2; ++i) peak = std::max(peak, std::abs(int(samples[i])));
        EXPECT_GT(peak, fullScale / 10) << name;
        Mix_FreeChunk(chunk);
    }
}

TEST(SoundAssets, TheLandingThudIsTheQuietestEffect) {
    // It plays on almost every landing, so it must sit under everything else.
    const int thud = peakOf(loadWav(shippedSound() + "/opendoor.wav").samples);
    for (const std::string& name : effectNames) {
        if (name == "opendoor") continue;
        EXPECT_LT(thud, peakOf(loadWav(shippedSound() + "/" + name + ".wav").samples)) << name;
    }
}

// One side of interleaved stereo samples.
std::vector<int32_t> sideOf(const std::vector<int32_t>& interleaved, int side) {
    std::vector<int32_t> out;
    for (std::size_t i = side; i < interleaved.size(); i += 2) out.push_back(interleaved[i]);
    return out;
}

double rmsOf(const std::vector<int32_t>& x) { return rmsOf(x, 0, double(x.size()) / mixerRate); }

TEST(SoundAssets, EveryLevelTrackIsALongSeamlessStereoLoopOfModestSize) {
    std::set<std::string> names;
    for (int level = 1; level <= trackCount; ++level) names.insert(musicTrackName(level));
    ASSERT_EQ(names.size(), std::size_t(trackCount)) << "each level has its own track";
    for (int level = 1; level <= trackCount; ++level) {
        const std::string name = musicTrackName(level);
        SCOPED_TRACE(name);
        const std::string path = shippedSound() + "/music/" + name + ".flac";
        ASSERT_TRUE(fs::exists(path));
        Mix_Music* music = Mix_LoadMUS(path.c_str());
        EXPECT_NE(music, nullptr) << Mix_GetError();
        Mix_FreeMusic(music);

        const FlacStream stream = decodeFlac(path);
        ASSERT_EQ(stream.error, "");
        EXPECT_TRUE(stream.hasMd5) << "players cannot check the samples";
        EXPECT_EQ(stream.rate, mixerRate);
        EXPECT_EQ(stream.bits, 16);
        // SDL_mixer 1.2 plays FLAC music only as 16-bit stereo.
        ASSERT_EQ(stream.channels, 2);
        // Level 5's track goes on for every later level, so it runs longest before it repeats.
        const double seconds = double(stream.total) / mixerRate;
        EXPECT_GE(seconds, level == trackCount ? 90.0 : 45.0) << "too short a loop";
        EXPECT_LT(fs::file_size(path) / seconds, 64.0 * 1024) << "bytes a second: the encoder is not compressing";
        EXPECT_GT(peakOf(stream.samples), fullScale / 2);
        EXPECT_LT(peakOf(stream.samples), fullScale * 0.95) << "too close to clipping";

        const std::vector<int32_t> left = sideOf(stream.samples, 0), right = sideOf(stream.samples, 1);
        std::vector<int32_t> difference;
        for (std::size_t i = 0; i < left.size(); ++i) difference.push_back(left[i] - right[i]);
        const double leftRms = rmsOf(left), rightRms = rmsOf(right);
        EXPECT_GT(rmsOf(difference), 0.1 * (leftRms + rightRms) / 2) << "the sides hardly differ: not true stereo";
        EXPECT_LT(std::fabs(20 * std::log10(leftRms / rightRms)), 1.5) << "one side is much louder";

        // The loop point: the step from the last sample to the first is no
        // bigger than the steps the sound takes just before it on either side.
        for (const std::vector<int32_t>* channel : {&left, &right}) {
            const std::vector<int32_t>& x = *channel;
            int steepest = 0;
            for (std::size_t i = x.size() - mixerRate / 10; i < x.size(); ++i) {
                steepest = std::max(steepest, std::abs(x[i] - x[i - 1]));
            }
            EXPECT_LE(std::abs(x.front() - x.back()), steepest) << "a click where the loop joins";
        }
    }
}

// What the mixer's audio thread hands to the sound card while a track plays.
std::atomic<int> mixedPeak{0};
std::atomic<int> mixedSidePeak{0};  // the largest left-right difference
std::atomic<long> mixedFrames{0};

void measureMix(void*, Uint8* stream, int length) {
    const Sint16* samples = reinterpret_cast<const Sint16*>(stream);
    int peak = mixedPeak, sidePeak = mixedSidePeak;
    for (int i = 0; i + 1 < length / 2; i += 2) {
        peak = std::max({peak, std::abs(int(samples[i])), std::abs(int(samples[i + 1]))});
        sidePeak = std::max(sidePeak, std::abs(int(samples[i]) - int(samples[i + 1])));
    }
    mixedPeak = peak;
    mixedSidePeak = sidePeak;
    mixedFrames += length / 4;
}

TEST(SoundAssets, EveryLevelTrackIsHeardThroughTheMixer) {
    int frequency = 0, channels = 0;
    Uint16 format = 0;
    ASSERT_NE(Mix_QuerySpec(&frequency, &format, &channels), 0) << "the mixer did not open";
    Mix_VolumeMusic(MIX_MAX_VOLUME);
    Mix_SetPostMix(measureMix, nullptr);
    for (int level = 1; level <= trackCount; ++level) {
        const std::string path = shippedSound() + "/music/" + musicTrackName(level) + ".flac";
        Mix_Music* music = Mix_LoadMUS(path.c_str());
        ASSERT_NE(music, nullptr) << path;
        Mix_PlayMusic(music, 0);
        mixedPeak = 0;
        mixedSidePeak = 0;
        mixedFrames = 0;
        // Half a second of real playing time on the dummy sound card.
        for (int waited = 0; mixedFrames < frequency / 2 && waited < 300; ++waited) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        Mix_HaltMusic();
        Mix_FreeMusic(music);
        EXPECT_GE(mixedFrames, frequency / 2) << "the audio thread did not run";
        EXPECT_GT(mixedPeak, fullScale / 8) << path << " plays as silence";
        EXPECT_GT(mixedSidePeak, mixedPeak / 20) << path << " reaches the sound card as mono";
    }
    Mix_SetPostMix(nullptr, nullptr);
}

TEST(SoundAssets, TheSoundAndTheWholeDataFolderStayWithinTheirBudgets) {
    std::uintmax_t sound = 0;
    for (const std::string& file : filesUnder(shippedSound())) sound += fs::file_size(shippedSound() + "/" + file);
    EXPECT_LT(sound, 16u * 1024 * 1024);
    const std::string data = sourceDir() + "/data";
    std::uintmax_t total = 0;
    for (const std::string& file : filesUnder(data)) total += fs::file_size(data + "/" + file);
    EXPECT_LT(total, 20u * 1000 * 1000) << "the game ships in under 20 MB";
}

TEST(SoundAssets, TheReferenceFlacToolAcceptsEveryTrack) {
    if (std::system("command -v flac >/dev/null 2>&1") != 0) GTEST_SKIP() << "the flac command is not installed";
    for (int level = 1; level <= trackCount; ++level) {
        const std::string path = shippedSound() + "/music/" + musicTrackName(level) + ".flac";
        EXPECT_EQ(std::system(("flac -s -t " + quoted(path) + " 2>/dev/null").c_str()), 0) << path;
    }
}

// ---- Writing FLAC, through the tool's --flac mode.

FlacStream encodeThroughTool(const ScratchDir& scratch, const std::vector<int16_t>& samples, int channels,
                             int rate) {
    const std::string in = scratch.path() + "/in.wav", out = scratch.path() + "/out.flac";
    const std::vector<uint8_t> wav = wavFileBytes(samples, channels, rate);
    std::ofstream(in, std::ios::binary).write(reinterpret_cast<const char*>(wav.data()), std::streamsize(wav.size()));
    FlacStream failed;
    if (runSynth("--flac " + quoted(in) + " " + quoted(out), scratch.path() + "/log") != 0) {
        failed.error = "the tool failed: " + readText(scratch.path() + "/log");
        return failed;
    }
    return decodeFlac(out);
}

std::vector<int32_t> widened(const std::vector<int16_t>& samples) {
    return std::vector<int32_t>(samples.begin(), samples.end());
}

TEST(FlacEncoder, RoundTripsAwkwardSignalsExactly) {
    ScratchDir scratch;
    uint32_t lcg = 12345;
    auto noise = [&] {
        lcg = lcg * 1664525u + 1013904223u;
        return int16_t(lcg >> 16);
    };
    struct Case {
        const char* what;
        std::vector<int16_t> samples;
        int channels;
        int rate;
    };
    std::vector<Case> cases;
    {
        // A tone with full-scale square bursts; the last block is 77 samples.
        std::vector<int16_t> s;
        for (int i = 0; i < 3 * 4096 + 77; ++i) {
            const bool burst = (i / 500) % 4 == 3;
            s.push_back(burst ? (i % 2 ? 32767 : -32768) : int16_t(20000 * std::sin(i * 0.031)));
        }
        cases.push_back({"tone and full-scale bursts", s, 1, mixerRate});
    }
    {
        std::vector<int16_t> s;
        for (int i = 0; i < 2 * 5000; ++i) s.push_back(i % 2 ? noise() : int16_t(i % 700 - 350));
        cases.push_back({"stereo: noise beside a ramp, 44.1 kHz", s, 2, 44100});
    }
    cases.push_back({"silence", std::vector<int16_t>(4096, 0), 1, mixerRate});
    cases.push_back({"three samples", {1, -32768, 32767}, 1, 11025});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const FlacStream stream = encodeThroughTool(scratch, c.samples, c.channels, c.rate);
        ASSERT_EQ(stream.error, "");
        EXPECT_EQ(stream.rate, c.rate);
        EXPECT_EQ(stream.channels, c.channels);
        EXPECT_EQ(stream.total, c.samples.size() / c.channels);
        EXPECT_TRUE(stream.hasMd5);
        EXPECT_TRUE(stream.samples == widened(c.samples)) << "decoded samples differ from the input";
    }
}

// What the mixer played, frame by frame, for the loop test below.
std::vector<int16_t> capturedMix;
std::atomic<std::size_t> capturedCount{0};

void captureMix(void*, Uint8* stream, int length) {
    const Sint16* samples = reinterpret_cast<const Sint16*>(stream);
    for (int i = 0; i < length / 2 && capturedCount < capturedMix.size(); ++i) {
        capturedMix[capturedCount++] = samples[i];
    }
}

TEST(FlacEncoder, TheMixerPlaysAnEncodedLoopRoundAndRoundSampleForSample) {
    // Music loops for as long as a level lasts: a gap or a lost sample where
    // the file starts again would click every time round.
    int frequency = 0, channels = 0;
    Uint16 format = 0;
    ASSERT_NE(Mix_QuerySpec(&frequency, &format, &channels), 0) << "the mixer did not open";
    ASSERT_EQ(channels, 2);
    ScratchDir scratch;
    uint32_t lcg = 777;
    std::vector<int16_t> loop;
    for (int i = 0; i < 2 * mixerRate; ++i) {  // one second, both sides
        lcg = lcg * 1664525u + 1013904223u;
        loop.push_back(int16_t(int(lcg >> 20) - 2048 + (i % 2 ? 6000 : -6000)));  // never zero
    }
    ASSERT_EQ(encodeThroughTool(scratch, loop, 2, mixerRate).error, "");
    Mix_Music* music = Mix_LoadMUS((scratch.path() + "/out.flac").c_str());
    ASSERT_NE(music, nullptr) << Mix_GetError();
    capturedMix.assign(std::size_t(2 * mixerRate * 2.6), 0);
    capturedCount = 0;
    Mix_VolumeMusic(MIX_MAX_VOLUME);
    Mix_SetPostMix(captureMix, nullptr);
    Mix_PlayMusic(music, -1);
    for (int waited = 0; capturedCount < capturedMix.size() && waited < 600; ++waited) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    Mix_HaltMusic();
    Mix_SetPostMix(nullptr, nullptr);
    Mix_FreeMusic(music);
    ASSERT_EQ(capturedCount, capturedMix.size()) << "the audio thread did not run";
    // The mixer hands over silence until the music starts; from there on it
    // must be the loop, again and again, with nothing lost or added.
    std::size_t start = 0;
    while (start < capturedMix.size() && capturedMix[start] == 0) ++start;
    ASSERT_LT(start + 2 * loop.size(), capturedMix.size()) << "the music started late";
    std::size_t mismatches = 0;
    for (std::size_t i = start; i < start + 2 * loop.size(); ++i) {
        mismatches += capturedMix[i] != loop[(i - start) % loop.size()];
    }
    EXPECT_EQ(mismatches, 0u);
}

// ---- What the text sources mean.

// Renders sources written into a scratch folder; returns the tool's status.
int renderSources(const ScratchDir& scratch, const std::vector<std::pair<std::string, std::string>>& files,
                  std::string& log) {
    for (const auto& [name, text] : files) writeText(scratch.path() + "/src/" + name, text);
    const int status = runSynth(quoted(scratch.path() + "/src") + " " + quoted(scratch.path() + "/out"),
                                scratch.path() + "/log");
    log = readText(scratch.path() + "/log");
    return status;
}

// A rendered track's left channel, for tracks whose voices all sit in the
// middle (both sides then carry the same mix).
FlacStream renderedTrack(const ScratchDir& scratch, const std::string& name) {
    FlacStream stream = decodeFlac(scratch.path() + "/out/music/" + name + ".flac");
    if (stream.channels != 2) stream.error = "tracks are written in stereo";
    std::vector<int32_t> left;
    for (std::size_t i = 0; i < stream.samples.size(); i += 2) {
        if (stream.samples[i] != stream.samples[i + 1]) stream.error = "the two sides differ";
        left.push_back(stream.samples[i]);
    }
    stream.samples = left;
    return stream;
}

const char* const sineInstrument =
    "instrument tone\n"
    "  wave sine\n"
    "  adsr 0.005 0 1 0.05\n";

TEST(SynthSources, TempoSetsTheLoopLengthAndNotesAndTranspositionSetThePitch) {
    ScratchDir scratch;
    std::string log;
    ASSERT_EQ(renderSources(scratch,
                            {{"music/tune.song", std::string("tempo 120\nrows 4\npeak -6\n") + sineInstrument +
                                                     "pattern bar\n"
                                                     "  tone A4 . . . | . . . . | . . . . | . . . .\n"
                                                     "song bar*2 bar+12\n"}},
                            log),
              0)
        << log;
    const FlacStream track = renderedTrack(scratch, "tune");
    ASSERT_EQ(track.error, "");
    // Three bars of four beats at 120 beats a minute: exactly six seconds.
    EXPECT_EQ(track.total, uint64_t(6 * mixerRate));
    EXPECT_NEAR(frequencyOf(track.samples, 0.5, 1.5), 440, 3);
    EXPECT_NEAR(frequencyOf(track.samples, 2.5, 3.5), 440, 3);
    EXPECT_NEAR(frequencyOf(track.samples, 4.5, 5.5), 880, 3);
    EXPECT_NEAR(peakOf(track.samples), fullScale * std::pow(10.0, -6 / 20.0), 2) << "peak -6 dBFS";
}

TEST(SynthSources, ANoteCarriesIntoTheNextPatternUntilReleased) {
    ScratchDir scratch;
    std::string log;
    ASSERT_EQ(renderSources(scratch,
                            {{"music/held.song", std::string("tempo 60\nrows 1\n") + sineInstrument +
                                                     "pattern a\n  tone A4 .\n"
                                                     "pattern b\n  tone . -\n"
                                                     "pattern c\n  tone . .\n"
                                                     "song a b c\n"}},
                            log),
              0)
        << log;
    const FlacStream track = renderedTrack(scratch, "held");
    ASSERT_EQ(track.error, "");
    const double sounding = rmsOf(track.samples, 0.3, 0.8);
    ASSERT_GT(sounding, 1000);
    EXPECT_NEAR(rmsOf(track.samples, 2.2, 2.8), sounding, sounding * 0.02) << "the hold in the next pattern";
    EXPECT_LT(rmsOf(track.samples, 3.3, 5.8), 20) << "released by the \"-\"";
}

TEST(SynthSources, TheTailOfTheLastNoteSoundsUnderTheBeginningOfTheLoop) {
    ScratchDir scratch;
    std::string log;
    ASSERT_EQ(renderSources(scratch,
                            {{"music/tail.song", "tempo 60\nrows 1\n"
                                                 "instrument bell\n  wave sine\n  adsr 0.005 0 1 1.5\n"
                                                 "pattern p\n  bell - . . A4\n"
                                                 "song p\n"}},
                            log),
              0)
        << log;
    const FlacStream track = renderedTrack(scratch, "tail");
    ASSERT_EQ(track.error, "");
    EXPECT_GT(rmsOf(track.samples, 0.05, 0.5), 500) << "the release wraps round to the start";
    EXPECT_LT(rmsOf(track.samples, 1.6, 2.9), 20) << "and is over before the note comes again";
    // The loop falls inside the loud tone, so its join is a step like any other.
    int largestStep = 0;
    for (std::size_t i = 1; i < track.samples.size(); ++i) {
        largestStep = std::max(largestStep, std::abs(track.samples[i] - track.samples[i - 1]));
    }
    EXPECT_LE(std::abs(track.samples.front() - track.samples.back()), largestStep);
}

TEST(SynthSources, PanPlacesAVoiceTheEchoBouncesAcrossAndTheRoomRingsOnUnderTheStart) {
    ScratchDir scratch;
    std::string log;
    ASSERT_EQ(renderSources(scratch,
                            {{"music/placed.song", "tempo 60\nrows 4\necho 0.5 0.3 8000 1\n"
                                                   "instrument hardleft\n  wave sine\n  adsr 0.005 0 1 0.05\n"
                                                   "  pan -1\n  echo 1\n"
                                                   "instrument rightish\n  wave sine\n  adsr 0.005 0 1 0.05\n"
                                                   "  pan 0.5\n"
                                                   "pattern a\n  hardleft A4 - . . . . . .\n"
                                                   "pattern b\n  rightish A4 - . . . . . .\n"
                                                   "pattern rest\n  hardleft . . . . . . . .\n"
                                                   "song a rest b rest\n"},
                             {"music/room.song", "tempo 60\nrows 1\nroom 0.6\n"
                                                 "instrument tone\n  wave sine\n  adsr 0.005 0 1 0.05\n  room 1\n"
                                                 "pattern p\n  tone - . . A4\nsong p\n"}},
                            log),
              0)
        << log;
    const FlacStream placed = decodeFlac(scratch.path() + "/out/music/placed.flac");
    ASSERT_EQ(placed.error, "");
    ASSERT_EQ(placed.channels, 2);
    const std::vector<int32_t> left = sideOf(placed.samples, 0), right = sideOf(placed.samples, 1);
    // A quarter-second note every two seconds, its echo half a second behind.
    const double sounding = rmsOf(left, 0.05, 0.2);
    ASSERT_GT(sounding, 1000);
    EXPECT_LT(rmsOf(right, 0.05, 0.2), sounding * 0.01) << "hard left is silent on the right";
    // The first repeat comes back on its own side, the second from across.
    EXPECT_GT(rmsOf(left, 0.55, 0.7), 10 * rmsOf(right, 0.55, 0.7));
    EXPECT_GT(rmsOf(right, 1.05, 1.2), 10 * rmsOf(left, 1.05, 1.2));
    EXPECT_GT(rmsOf(right, 1.05, 1.2), sounding * 0.1);
    // Halfway to the right: constant power, cos(3/8 pi) on the left, cos(1/8 pi) on the right.
    EXPECT_NEAR(rmsOf(left, 4.05, 4.2) / rmsOf(right, 4.05, 4.2), 0.4142, 0.02);

    const FlacStream room = decodeFlac(scratch.path() + "/out/music/room.flac");
    ASSERT_EQ(room.error, "");
    const std::vector<int32_t> roomLeft = sideOf(room.samples, 0), roomRight = sideOf(room.samples, 1);
    std::vector<int32_t> difference;
    for (std::size_t i = 0; i < roomLeft.size(); ++i) difference.push_back(roomLeft[i] - roomRight[i]);
    const double tail = rmsOf(roomLeft, 0.1, 0.5);
    EXPECT_GT(tail, 100) << "the room's tail of the last note rings under the beginning";
    EXPECT_LT(tail, rmsOf(roomLeft, 3.1, 3.4) / 2) << "and is quieter than the note itself";
    EXPECT_GT(rmsOf(difference, 0.1, 0.5), tail * 0.3) << "the room's two sides ring differently";
}

TEST(SynthSources, EffectVoicesPlayTheirPitchOrTheirRunOfNotes) {
    ScratchDir scratch;
    std::string log;
    ASSERT_EQ(renderSources(scratch,
                            {{"effects/tone.sfx", "peak -6\nvoice\n  wave sine\n  pitch A4\n  gate 0.5\n"
                                                  "  adsr 0.01 0 1 0.05\n"},
                             {"effects/run.sfx", "voice\n  wave sine\n  adsr 0.005 0 1 0.02\n"
                                                 "  notes 0.25 A4 - A5 .\n"}},
                            log),
              0)
        << log;
    const WavFile tone = loadWav(scratch.path() + "/out/tone.wav");
    ASSERT_TRUE(tone.loaded);
    EXPECT_EQ(tone.spec.freq, mixerRate);
    EXPECT_NEAR(double(tone.samples.size()) / mixerRate, 0.5 + 0.05 + 0.01, 0.002) << "gate, release, tail";
    EXPECT_NEAR(frequencyOf(tone.samples, 0.1, 0.45), 440, 6);
    EXPECT_NEAR(peakOf(tone.samples), fullScale * std::pow(10.0, -6 / 20.0), 2);

    const WavFile run = loadWav(scratch.path() + "/out/run.wav");
    ASSERT_TRUE(run.loaded);
    EXPECT_NEAR(frequencyOf(run.samples, 0.02, 0.24), 440, 10);
    EXPECT_LT(rmsOf(run.samples, 0.3, 0.48), 20) << "the \"-\" rests";
    EXPECT_NEAR(frequencyOf(run.samples, 0.55, 0.95), 880, 10) << "the \".\" holds the second note";
}

TEST(SynthSources, MistakesAreReportedWithFileAndLine) {
    struct Case {
        const char* file;
        std::string text;
        const char* expected;
    };
    const Case cases[] = {
        {"effects/bad.sfx", "peak -3\nvoice\n  wave sine\n  wobble 3\n", "bad.sfx:4: unknown setting \"wobble\""},
        {"effects/bad.sfx", "voice\n  wave sine\n  notes 0.1 A4 H4\n", "bad.sfx:3: \"H4\" is not a note"},
        {"music/bad.song", std::string(sineInstrument) + "pattern p\n  tone A4 . .\n  tone A4 .\nsong p\n",
         "bad.song:6: this line has 2 rows"},
        {"music/bad.song", std::string(sineInstrument) + "pattern p\n  tone A4\nsong p q\n",
         "bad.song:6: no pattern named \"q\""},
        {"music/bad.song", std::string(sineInstrument) + "  pan 1.5\npattern p\n  tone A4\nsong p\n",
         "bad.song:4: pan takes a place from -1 (left) to 1 (right)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected);
        ScratchDir scratch;
        std::string log;
        EXPECT_EQ(renderSources(scratch, {{c.file, c.text}}, log), 1);
        EXPECT_NE(log.find(c.expected), std::string::npos) << log;
    }
}

}  // namespace

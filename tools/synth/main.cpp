// curdovar-synth: renders the game's sound effects and music from their text
// sources.
//   curdovar-synth SOURCE_DIR OUTPUT_SOUND_DIR
//       every SOURCE_DIR/effects/NAME.sfx  -> OUTPUT_SOUND_DIR/NAME.wav
//       every SOURCE_DIR/music/NAME.song   -> OUTPUT_SOUND_DIR/music/NAME.flac
//   curdovar-synth --flac INPUT OUTPUT.flac
//       encodes any sound file libsndfile reads (WAV, AIFF, ...) the way the
//       music is encoded
// e.g. curdovar-synth audio data/sound

#include "tools/synth/Effect.h"
#include "tools/synth/Flac.h"
#include "tools/synth/Pcm.h"
#include "tools/synth/Song.h"
#include "tools/synth/Wav.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

int fail(const std::string& message) {
    std::cerr << "synth: " << message << "\n";
    return 1;
}

// The files of one extension in a folder, sorted so every run goes the same way.
std::vector<fs::path> sourcesIn(const fs::path& folder, const std::string& extension) {
    std::vector<fs::path> found;
    std::error_code ignored;
    for (fs::directory_iterator it(folder, ignored), end; it != end; it.increment(ignored)) {
        if (it->is_regular_file(ignored) && it->path().extension() == extension) found.push_back(it->path());
    }
    std::sort(found.begin(), found.end());
    return found;
}

void report(const fs::path& written, const std::vector<int16_t>& samples) {
    char line[256];
    std::snprintf(line, sizeof line, "%-18s %6.2f s  peak %5.1f dBFS  rms %5.1f dBFS  loudest 50 ms %5.1f dBFS",
                  written.filename().string().c_str(), double(samples.size()) / sampleRate, peakDbOf(samples),
                  rmsDbOf(samples), loudestDbOf(samples, sampleRate));
    std::cout << line << "\n";
}

// A track's length, each side's level and how far the sides differ.
void reportStereo(const fs::path& written, const std::vector<int16_t>& interleaved) {
    std::vector<int16_t> left, right, side;
    for (std::size_t i = 0; i + 1 < interleaved.size(); i += 2) {
        left.push_back(interleaved[i]);
        right.push_back(interleaved[i + 1]);
        side.push_back(int16_t((interleaved[i] - interleaved[i + 1]) / 2));
    }
    char line[256];
    std::snprintf(line, sizeof line,
                  "%-18s %6.2f s  peak %5.1f dBFS  rms left %5.1f right %5.1f dBFS  (left-right)/2 %5.1f dBFS",
                  written.filename().string().c_str(), double(left.size()) / sampleRate, peakDbOf(interleaved),
                  rmsDbOf(left), rmsDbOf(right), rmsDbOf(side));
    std::cout << line << "\n";
}

int encodeOne(const std::string& input, const std::string& output) {
    std::vector<int16_t> samples;
    int channels = 0, rate = 0;
    std::string error;
    if (!readSound(input, samples, channels, rate, error)) return fail(error);
    if (!writeFlac(output, samples, channels, rate, error)) return fail(error);
    return 0;
}

int renderAll(const fs::path& source, const fs::path& output) {
    const std::vector<fs::path> effects = sourcesIn(source / "effects", ".sfx");
    const std::vector<fs::path> songs = sourcesIn(source / "music", ".song");
    if (effects.empty() && songs.empty()) {
        return fail("no effects/*.sfx or music/*.song in " + source.string());
    }
    std::error_code made;
    fs::create_directories(output / "music", made);
    if (made) return fail("cannot create " + (output / "music").string());

    std::string error;
    for (const fs::path& path : effects) {
        Effect effect;
        if (!readEffect(path.string(), effect, error)) return fail(error);
        const std::vector<int16_t> samples = renderEffect(effect);
        const fs::path written = output / (path.stem().string() + ".wav");
        if (!writeWav(written.string(), samples, 1, sampleRate, error)) return fail(error);
        report(written, samples);
    }
    for (const fs::path& path : songs) {
        Song song;
        if (!readSong(path.string(), song, error)) return fail(error);
        const std::vector<int16_t> samples = renderSong(song);
        const fs::path written = output / "music" / (path.stem().string() + ".flac");
        // Stereo for the field, and because SDL_mixer 1.2 mixes a mono FLAC as silence.
        if (!writeFlac(written.string(), samples, 2, sampleRate, error)) return fail(error);
        reportStereo(written, samples);
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::string(argv[1]) == "--flac") return encodeOne(argv[2], argv[3]);
    if (argc != 3 || argv[1][0] == '-') {
        std::cerr << "usage: curdovar-synth SOURCE_DIR OUTPUT_SOUND_DIR\n"
                     "       curdovar-synth --flac INPUT OUTPUT.flac\n";
        return 2;
    }
    return renderAll(argv[1], argv[2]);
}

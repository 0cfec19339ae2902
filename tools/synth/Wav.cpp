#include "tools/synth/Wav.h"

#include <sndfile.h>

bool writeWav(const std::string& path, const std::vector<int16_t>& samples, int channels, int rate,
              std::string& error) {
    SF_INFO info{};
    info.samplerate = rate;
    info.channels = channels;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (!file) {
        error = path + ": " + sf_strerror(nullptr);
        return false;
    }
    const sf_count_t count = sf_count_t(samples.size());
    const bool written = sf_write_short(file, samples.data(), count) == count;
    if (!written) error = path + ": " + sf_strerror(file);
    return sf_close(file) == 0 && written;
}

bool readSound(const std::string& path, std::vector<int16_t>& samples, int& channels, int& rate,
               std::string& error) {
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    if (!file) {
        error = path + ": " + sf_strerror(nullptr);
        return false;
    }
    channels = info.channels;
    rate = info.samplerate;
    samples.resize(std::size_t(info.frames) * std::size_t(channels));
    const sf_count_t frames = sf_readf_short(file, samples.data(), info.frames);
    sf_close(file);
    samples.resize(std::size_t(frames) * std::size_t(channels));
    return true;
}

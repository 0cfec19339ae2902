#include "tools/synth/Wav.h"

#include <fstream>
#include <iterator>

namespace {
void put16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
}

void put32(std::vector<uint8_t>& out, uint32_t v) {
    put16(out, v & 0xffff);
    put16(out, v >> 16);
}

void putTag(std::vector<uint8_t>& out, const char* tag) { out.insert(out.end(), tag, tag + 4); }

uint32_t get16(const std::vector<uint8_t>& in, std::size_t at) { return in[at] | in[at + 1] << 8; }
uint32_t get32(const std::vector<uint8_t>& in, std::size_t at) { return get16(in, at) | get16(in, at + 2) << 16; }

constexpr uint32_t pcmFormat = 1;
constexpr uint32_t bytesPerSample = 2;
}  // namespace

std::vector<uint8_t> wavBytes(const std::vector<int16_t>& samples, int channels, int rate) {
    const uint32_t dataBytes = uint32_t(samples.size() * bytesPerSample);
    std::vector<uint8_t> out;
    out.reserve(44 + dataBytes);
    putTag(out, "RIFF");
    put32(out, 36 + dataBytes);
    putTag(out, "WAVE");
    putTag(out, "fmt ");
    put32(out, 16);
    put16(out, pcmFormat);
    put16(out, uint32_t(channels));
    put32(out, uint32_t(rate));
    put32(out, uint32_t(rate) * channels * bytesPerSample);
    put16(out, channels * bytesPerSample);
    put16(out, 16);
    putTag(out, "data");
    put32(out, dataBytes);
    for (int16_t s : samples) put16(out, uint16_t(s));
    return out;
}

bool writeFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return bool(out);
}

bool readWav(const std::string& path, std::vector<int16_t>& samples, int& channels, int& rate,
             std::string& error) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        error = path + ": cannot be read";
        return false;
    }
    const std::vector<uint8_t> in((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (in.size() < 12 || std::string(in.begin(), in.begin() + 4) != "RIFF" ||
        std::string(in.begin() + 8, in.begin() + 12) != "WAVE") {
        error = path + ": not a RIFF WAVE file";
        return false;
    }
    bool haveFormat = false;
    for (std::size_t at = 12; at + 8 <= in.size();) {
        const std::string tag(in.begin() + at, in.begin() + at + 4);
        const std::size_t size = get32(in, at + 4);
        const std::size_t body = at + 8;
        if (body + size > in.size()) break;
        if (tag == "fmt " && size >= 16) {
            if (get16(in, body) != pcmFormat || get16(in, body + 14) != 16) {
                error = path + ": only 16-bit PCM is read";
                return false;
            }
            channels = int(get16(in, body + 2));
            rate = int(get32(in, body + 4));
            haveFormat = channels >= 1 && channels <= 8 && rate > 0;
        } else if (tag == "data" && haveFormat) {
            samples.clear();
            for (std::size_t i = 0; i + 1 < size; i += 2) samples.push_back(int16_t(get16(in, body + i)));
            samples.resize(samples.size() - samples.size() % channels);
            return true;
        }
        at = body + size + (size & 1);
    }
    error = path + ": no usable fmt and data chunks";
    return false;
}

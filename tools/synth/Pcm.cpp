#include "tools/synth/Pcm.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr double fullScale = 32767;
}

double peakOf(const std::vector<double>& samples) {
    double peak = 0;
    for (double s : samples) peak = std::max(peak, std::fabs(s));
    return peak;
}

std::vector<int16_t> toPcm(const std::vector<double>& samples, double peakDb) {
    const double peak = peakOf(samples);
    const double gain = peak > 0 ? std::pow(10.0, peakDb / 20) * fullScale / peak : 0;
    std::vector<int16_t> pcm;
    pcm.reserve(samples.size());
    for (double s : samples) {
        const long value = std::lround(s * gain);
        pcm.push_back(static_cast<int16_t>(std::clamp(value, -32767L, 32767L)));
    }
    return pcm;
}

double peakDbOf(const std::vector<int16_t>& samples) {
    int peak = 0;
    for (int16_t s : samples) peak = std::max(peak, std::abs(int(s)));
    return 20 * std::log10(peak / fullScale);
}

double rmsDbOf(const std::vector<int16_t>& samples) {
    double sum = 0;
    for (int16_t s : samples) sum += double(s) * s;
    const double rms = samples.empty() ? 0 : std::sqrt(sum / samples.size());
    return 20 * std::log10(rms / fullScale);
}

double loudestDbOf(const std::vector<int16_t>& samples, int rate) {
    const std::size_t window = std::max<std::size_t>(1, std::size_t(rate) / 20);
    double sum = 0, loudest = 0;
    for (std::size_t i = 0; i < samples.size(); ++i) {
        sum += double(samples[i]) * samples[i];
        if (i >= window) sum -= double(samples[i - window]) * samples[i - window];
        loudest = std::max(loudest, sum);
    }
    const double count = double(std::min(window, samples.size()));
    return 20 * std::log10(std::sqrt(loudest / std::max(count, 1.0)) / fullScale);
}

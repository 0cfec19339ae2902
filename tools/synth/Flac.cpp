#include "tools/synth/Flac.h"

#include <FLAC/stream_encoder.h>

namespace {
constexpr unsigned compressionLevel = 8;  // libFLAC's smallest; the tracks are short enough to afford it
constexpr unsigned bitsPerSample = 16;
}  // namespace

bool writeFlac(const std::string& path, const std::vector<int16_t>& samples, int channels, int rate,
               std::string& error) {
    FLAC__StreamEncoder* encoder = FLAC__stream_encoder_new();
    if (!encoder) {
        error = path + ": out of memory";
        return false;
    }
    const unsigned frames = unsigned(samples.size() / unsigned(channels));
    bool ok = FLAC__stream_encoder_set_channels(encoder, unsigned(channels)) &&
              FLAC__stream_encoder_set_bits_per_sample(encoder, bitsPerSample) &&
              FLAC__stream_encoder_set_sample_rate(encoder, unsigned(rate)) &&
              FLAC__stream_encoder_set_compression_level(encoder, compressionLevel) &&
              FLAC__stream_encoder_set_verify(encoder, true) &&
              FLAC__stream_encoder_set_total_samples_estimate(encoder, frames);
    ok = ok && FLAC__stream_encoder_init_file(encoder, path.c_str(), nullptr, nullptr) ==
                   FLAC__STREAM_ENCODER_INIT_STATUS_OK;
    // libFLAC takes samples as 32-bit integers whatever their width.
    const std::vector<FLAC__int32> wide(samples.begin(), samples.begin() + std::ptrdiff_t(frames) * channels);
    ok = ok && FLAC__stream_encoder_process_interleaved(encoder, wide.data(), frames);
    if (!ok) error = path + ": " + FLAC__stream_encoder_get_resolved_state_string(encoder);
    // Finishing writes the last frame and goes back to fill in STREAMINFO with the
    // sample count and the MD5 libFLAC keeps of every sample it was given.
    if (!FLAC__stream_encoder_finish(encoder) && ok) {
        error = path + ": " + FLAC__stream_encoder_get_resolved_state_string(encoder);
        ok = false;
    }
    FLAC__stream_encoder_delete(encoder);
    return ok;
}

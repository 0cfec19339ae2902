#pragma once

#include <cstdint>
#include <vector>

// A small FLAC encoder: one STREAMINFO block (with the MD5 of the samples),
// then fixed-size frames whose subframes are constant, verbatim or fixed
// linear prediction with partitioned Rice-coded residuals, whichever is
// smallest. A stereo frame is coded as left and right, or as one side beside
// their difference, or as their average beside it, whichever is smallest. The
// same samples always give the same bytes.

constexpr int flacBlockSize = 4096;  // samples per channel in every frame but the last

// samples are 16-bit, interleaved when channels is 2 (1 to 8 channels).
std::vector<uint8_t> encodeFlac(const std::vector<int16_t>& samples, int channels, int rate);

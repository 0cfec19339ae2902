#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Writes 16-bit samples (interleaved when there are two or more channels) as
// FLAC through libFLAC, with the MD5 of the samples in STREAMINFO so any
// decoder can check what it plays. libFLAC decodes every frame back while
// encoding, so a file that is written is known to hold the samples.
bool writeFlac(const std::string& path, const std::vector<int16_t>& samples, int channels, int rate,
               std::string& error);

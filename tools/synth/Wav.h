#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Sound files through libsndfile; samples 16-bit, interleaved when there are
// two or more channels.

// Writes a 16-bit PCM RIFF WAVE file.
bool writeWav(const std::string& path, const std::vector<int16_t>& samples, int channels, int rate,
              std::string& error);

// Reads any file libsndfile knows (WAV, AIFF, FLAC, ...) as 16-bit samples.
bool readSound(const std::string& path, std::vector<int16_t>& samples, int& channels, int& rate,
               std::string& error);

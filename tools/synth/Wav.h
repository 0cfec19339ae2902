#pragma once

#include <cstdint>
#include <string>
#include <vector>

// 16-bit PCM RIFF WAVE files, samples interleaved when there are two channels.

std::vector<uint8_t> wavBytes(const std::vector<int16_t>& samples, int channels, int rate);
bool writeFile(const std::string& path, const std::vector<uint8_t>& bytes);

// Reads a 16-bit PCM WAV; false with error for anything else.
bool readWav(const std::string& path, std::vector<int16_t>& samples, int& channels, int& rate,
             std::string& error);

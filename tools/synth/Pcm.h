#pragma once

#include <cstdint>
#include <vector>

// Turning a rendered float buffer into 16-bit samples.

// The largest absolute value in the buffer.
double peakOf(const std::vector<double>& samples);

// Scales the buffer so its peak lands at peakDb (dBFS, 0 is full scale) and
// rounds it to 16 bits. A silent buffer stays silent.
std::vector<int16_t> toPcm(const std::vector<double>& samples, double peakDb);

// Level of 16-bit samples relative to full scale, in dB (−inf for silence).
double peakDbOf(const std::vector<int16_t>& samples);
double rmsDbOf(const std::vector<int16_t>& samples);
// The RMS of the loudest 50 ms, in dB: how loud a short sound seems.
double loudestDbOf(const std::vector<int16_t>& samples, int rate);

#pragma once

#include <SDL.h>

#include <string>
#include <vector>

// Small media files made byte by byte, so the tests need no encoder tools.

// A w by h RGB PNG (stored, uncompressed deflate blocks); pixels row by row.
std::string pngBytes(int w, int h, const std::vector<SDL_Color>& pixels);

// A 24-bit BMP of the given pixels, row by row, saved by SDL at path.
void saveBmp(const std::string& path, int w, int h, const std::vector<SDL_Color>& pixels);

// A mono 16-bit PCM WAV at 22050 Hz lasting the given number of samples.
std::string wavBytes(int samples);

// A mono 16-bit FLAC at 22050 Hz: STREAMINFO and one frame of 192 samples
// in a verbatim subframe.
std::string flacBytes();

// Writes bytes to a file; false when it cannot be written.
bool writeFile(const std::string& path, const std::string& bytes);

#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A picture as PNG bytes, with no library: 8-bit RGB, the image data in
// stored (uncompressed) deflate blocks. Small maps only; any viewer reads it.
std::string encodePng(int width, int height, const std::vector<std::uint8_t>& rgb);

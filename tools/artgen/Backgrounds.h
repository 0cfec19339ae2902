#pragma once

#include "tools/artgen/Picture.h"

// The ten background images bg00 ... bg09, made procedurally from a fixed
// seed each, so they come out the same on every run. The level tiles them
// with a parallax of one sixth, so each wraps seamlessly on both axes. Clear
// pixels (saved as cyan) let the level's background colour show through.
constexpr int backgroundCount = 10;
constexpr int backgroundSide = 256;  // pixels, both ways

Picture makeBackground(int index);

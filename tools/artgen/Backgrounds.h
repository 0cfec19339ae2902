#pragma once

#include "tools/artgen/Picture.h"

#include <string>

// The ten background images bg00 ... bg09, made procedurally from a fixed
// seed each, so they come out the same on every run. The level tiles them
// with a parallax of one sixth, so each wraps seamlessly on both axes. They
// are opaque and light all over: the status lines are black text drawn over
// whatever part of the picture a level starts on.
constexpr int backgroundCount = 10;
constexpr int backgroundSide = 256;  // pixels, both ways

Picture makeBackground(int index);

// The background of a world's look (art/looks/NAME), `height` pixels high
// and as wide as it needs to wrap with little repeat; false for a look
// without one of its own.
bool makeLookBackground(const std::string& look, int height, Picture& out);

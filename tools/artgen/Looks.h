#pragma once

#include "tools/artgen/ArtSource.h"

#include <string>

// The worlds' looks, one a line of SOURCE/looks.txt:
//   NAME HEIGHT
// Each is made from SOURCE/looks/NAME (a palette over the main one, its
// images.txt and any grids of its own) into OUTPUT/looks/NAME: its images at
// both tile sizes in 16/ and 32/ and its background, HEIGHT pixels high, as
// background.png. Counts the files written in `written`.
bool makeLooks(const ArtSource& art, const std::string& source, const std::string& output,
               int& written, std::string& error);

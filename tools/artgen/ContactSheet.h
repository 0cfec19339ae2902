#pragma once

#include "tools/artgen/Picture.h"

#include <map>
#include <string>
#include <vector>

// Everything the generator made, by image name, for looking at.
struct ArtSet {
    std::map<int, std::vector<std::pair<std::string, Picture>>> bySize;  // 16, 32
    std::vector<Picture> backgrounds;
};

// Writes PNG proof sheets into `folder`: contact-16.png and contact-32.png
// (every image on several of the levels' background colours) and
// scenes-a.png, scenes-b.png (a mock screen over each background at 32
// pixels a tile).
bool writeContactSheets(const ArtSet& art, const std::string& folder, std::string& error);

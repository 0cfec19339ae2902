#pragma once

#include "tools/artgen/Picture.h"

#include <string>

// The game's icon: the hero standing, in plain form and status, cut from his
// sheet ("us") at 16 and 32 pixels a tile and blown up by whole pixels only,
// so every size stays crisp. The ground around him is transparent.
constexpr int iconSizes[] = {16, 24, 32, 48, 64, 128, 256};

// The icon `size` pixels square, from the hero's sheet at 16 and at 32 pixels a tile.
Picture drawIcon(const Picture& sheet16, const Picture& sheet32, int size);

// Writes FOLDER/curdovar-SIZE.png for every size.
bool writeIcons(const Picture& sheet16, const Picture& sheet32, const std::string& folder, std::string& error);

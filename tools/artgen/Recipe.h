#pragma once

#include "tools/artgen/ArtSource.h"
#include "tools/artgen/Picture.h"

#include <string>
#include <vector>

// How one game image is put together, one line of images.txt:
//   NAME CELL CELL ...
// The cells are placed left to right. A cell is one or more layers joined by
// '+', later layers drawn over earlier ones. A layer is a grid name, then
// optionally @N for its N-th 16-pixel-wide frame, ~ for mirrored and ! for
// ghosted (every other pixel see-through). The single cell *hero stands for
// the hero's sprite sheet, composed by HeroSheet.
struct Layer {
    std::string grid;
    int frame = -1;  // -1: the whole grid
    bool mirror = false;
    bool ghost = false;
};

struct Recipe {
    std::string name;                      // the image name the game loads
    std::vector<std::vector<Layer>> cells;
    bool heroSheet = false;
    int line = 0;                          // where it stands in images.txt
};

bool readRecipes(const std::string& path, std::vector<Recipe>& out, std::string& error);

// The image at `size` pixels a tile (16 or 32). At 32 a hand-drawn
// 32/NAME.txt wins; otherwise the 16-pixel image is scaled up with Scale2x,
// frame by frame when it has several cells.
bool buildImage(ArtSource& art, const Recipe& recipe, int size, Picture& out,
                std::string& error);

#pragma once

#include "tools/artgen/Picture.h"

#include <map>
#include <string>

// The editable art: a palette of named colours and text grids, one character
// per pixel. Layout of the source folder:
//   palette.txt   one colour a line: character, hex RRGGBB, name
//   images.txt    how each game image is put together (see Recipe.h)
//   16/NAME.txt   grids drawn at 16 pixels a tile
//   32/NAME.txt   optional hand-drawn 32-pixel versions of whole game images
// A world's look is a source of its own (art/looks/NAME) over the main one:
// its palette may give the main palette's characters new colours, so the
// main grids come out in the look's tones, and its own grids stand in for
// the main grids of the same name.
class ArtSource {
public:
    explicit ArtSource(std::string root, const ArtSource* base = nullptr)
        : root(std::move(root)), base(base) {}

    // Reads palette.txt (over the base's colours); false with `error` set
    // when it is missing or malformed.
    bool readPalette(std::string& error);
    // The grid art/<size>/<name>.txt, read once and kept. Null with `error`
    // set when it is missing or malformed.
    const Picture* grid(const std::string& name, int size, std::string& error);
    // Whether art/<size>/<name>.txt exists, here or in the base.
    bool hasGrid(const std::string& name, int size) const;
    // A palette colour by its name, or by its grid character.
    bool colourNamed(const std::string& name, Colour& out) const;
    bool colourOf(char key, Colour& out) const;
    const std::string& folder() const { return root; }

private:
    bool parseGrid(const std::string& path, Picture& out, std::string& error) const;
    // Where the grid is read from: this source's own file, else the base's.
    std::string gridFile(const std::string& name, int size) const;

    std::string root;
    const ArtSource* base;
    std::map<char, Colour> colours;
    std::map<std::string, Colour> byName;
    std::map<std::string, Picture> cache;
};

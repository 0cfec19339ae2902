#include "tools/artgen/Recipe.h"

#include "tools/artgen/HeroSheet.h"

#include <algorithm>
#include <fstream>
#include <sstream>

namespace {

constexpr int frameWidth = 16;  // pixels of one frame in a 16-pixel grid

bool parseLayer(const std::string& text, Layer& layer) {
    size_t end = text.find_first_of("@~!");
    layer.grid = text.substr(0, end);
    if (layer.grid.empty()) return false;
    while (end < text.size()) {
        const char mark = text[end];
        if (mark == '~') {
            layer.mirror = true;
            ++end;
        } else if (mark == '!') {
            layer.ghost = true;
            ++end;
        } else {
            const size_t digits = text.find_first_not_of("0123456789", end + 1);
            const std::string number = text.substr(end + 1, digits - end - 1);
            if (number.empty()) return false;
            layer.frame = std::stoi(number);
            end = digits == std::string::npos ? text.size() : digits;
        }
    }
    return true;
}

bool buildCell(ArtSource& art, const std::vector<Layer>& layers, Picture& out,
               std::string& error) {
    std::vector<Picture> pictures;
    int width = 0, height = 0;
    for (const Layer& layer : layers) {
        const Picture* grid = art.grid(layer.grid, 16, error);
        if (!grid) return false;
        Picture picture = *grid;
        if (layer.frame >= 0) {
            if ((layer.frame + 1) * frameWidth > grid->width()) {
                error = layer.grid + " has no frame " + std::to_string(layer.frame);
                return false;
            }
            picture = grid->crop(layer.frame * frameWidth, 0, frameWidth, grid->height());
        }
        if (layer.mirror) picture = picture.mirrored();
        if (layer.ghost) picture = picture.ghosted();
        width = std::max(width, picture.width());
        height = std::max(height, picture.height());
        pictures.push_back(picture);
    }
    out = Picture(width, height);
    for (const Picture& picture : pictures) out.drawOver(picture, 0, 0);
    return true;
}

}  // namespace

bool readRecipes(const std::string& path, std::vector<Recipe>& out, std::string& error) {
    std::ifstream in(path);
    if (!in) {
        error = path + ": cannot open";
        return false;
    }
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        std::istringstream fields(line);
        Recipe recipe;
        recipe.line = number;
        if (!(fields >> recipe.name) || recipe.name[0] == '#') continue;
        std::string cell;
        while (fields >> cell) {
            if (cell[0] == '#') break;
            if (cell == "*hero") {
                recipe.heroSheet = true;
                continue;
            }
            std::vector<Layer> layers;
            std::istringstream parts(cell);
            std::string part;
            while (std::getline(parts, part, '+')) {
                Layer layer;
                if (!parseLayer(part, layer)) {
                    error = path + ":" + std::to_string(number) + ": cannot read '" + cell + "'";
                    return false;
                }
                layers.push_back(layer);
            }
            recipe.cells.push_back(layers);
        }
        for (const Recipe& earlier : out)
            if (earlier.name == recipe.name) {
                error = path + ":" + std::to_string(number) + ": " + recipe.name +
                        " is already made on line " + std::to_string(earlier.line);
                return false;
            }
        const bool hasCells = !recipe.cells.empty();
        if (hasCells == recipe.heroSheet) {
            error = path + ":" + std::to_string(number) + ": " + recipe.name +
                    " needs cells or *hero alone";
            return false;
        }
        out.push_back(recipe);
    }
    return true;
}

bool buildImage(ArtSource& art, const Recipe& recipe, int size, Picture& out,
                std::string& error) {
    if (size != 16 && size != 32) {
        error = "tile size " + std::to_string(size) + " is not drawn";
        return false;
    }
    if (size == 32) {
        if (art.hasGrid(recipe.name, size)) {
            const Picture* drawn = art.grid(recipe.name, size, error);
            if (!drawn) return false;
            out = *drawn;
            return true;
        }
        Picture small;
        if (!buildImage(art, recipe, 16, small, error)) return false;
        const bool frames = recipe.heroSheet || recipe.cells.size() > 1;
        out = frames ? small.scale2xCells(frameWidth) : small.scale2x();
        return true;
    }
    if (recipe.heroSheet) return composeHeroSheet(art, out, error);
    std::vector<Picture> cells;
    int width = 0, height = 0;
    for (const auto& layers : recipe.cells) {
        Picture cell;
        if (!buildCell(art, layers, cell, error)) {
            error = "images.txt:" + std::to_string(recipe.line) + ": " + recipe.name + ": " + error;
            return false;
        }
        width += cell.width();
        height = std::max(height, cell.height());
        cells.push_back(cell);
    }
    out = Picture(width, height);
    int x = 0;
    for (const Picture& cell : cells) {
        out.drawOver(cell, x, 0);
        x += cell.width();
    }
    return true;
}

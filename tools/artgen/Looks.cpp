#include "tools/artgen/Looks.h"

#include "tools/artgen/Backgrounds.h"
#include "tools/artgen/Recipe.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

namespace {

constexpr int lookTileSizes[] = {16, 32};
constexpr int shortestBackground = 240;  // pixels: the view at tile size 16

struct LookLine {
    std::string name;
    int height = 0;  // the background's, pixels
};

bool readLooks(const std::string& path, std::vector<LookLine>& out, std::string& error) {
    std::ifstream in(path);
    if (!in) return true;  // a source without looks makes none
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        std::istringstream fields(line);
        LookLine look;
        if (!(fields >> look.name) || look.name[0] == '#') continue;
        if (!(fields >> look.height) || look.height < shortestBackground) {
            error = path + ":" + std::to_string(number) + ": " + look.name +
                    " needs its background's height, at least " +
                    std::to_string(shortestBackground) + " pixels";
            return false;
        }
        out.push_back(look);
    }
    return true;
}

}  // namespace

bool makeLooks(const ArtSource& art, const std::string& source, const std::string& output,
               int& written, std::string& error) {
    std::vector<LookLine> looks;
    if (!readLooks(source + "/looks.txt", looks, error)) return false;
    for (const LookLine& look : looks) {
        ArtSource own(source + "/looks/" + look.name, &art);
        if (!own.readPalette(error)) return false;
        std::vector<Recipe> recipes;
        if (!readRecipes(own.folder() + "/images.txt", recipes, error)) return false;
        const std::string folder = output + "/looks/" + look.name;
        for (const int size : lookTileSizes) {
            const std::string sized = folder + "/" + std::to_string(size);
            std::error_code ignored;
            std::filesystem::create_directories(sized, ignored);
            for (const Recipe& recipe : recipes) {
                Picture picture;
                if (!buildImage(own, recipe, size, picture, error)) {
                    error = look.name + ": " + error;
                    return false;
                }
                if (!saveKeyedPng(picture, sized + "/" + recipe.name + ".png", error)) return false;
                ++written;
            }
        }
        Picture background;
        if (!makeLookBackground(look.name, look.height, background)) {
            error = source + "/looks.txt: no background is drawn for the look " + look.name;
            return false;
        }
        if (!saveKeyedPng(background, folder + "/background.png", error)) return false;
        ++written;
    }
    return true;
}

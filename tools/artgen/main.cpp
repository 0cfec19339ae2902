// curdovar-artgen: turns the editable art (palette and text grids) into the
// game's images, both tile sizes, and makes the background images.
//   curdovar-artgen SOURCE_DIR OUTPUT_IMAGES_DIR [--contact FOLDER]
// e.g. curdovar-artgen art data/images

#include "tools/artgen/ArtSource.h"
#include "tools/artgen/Backgrounds.h"
#include "tools/artgen/ContactSheet.h"
#include "tools/artgen/Picture.h"
#include "tools/artgen/Recipe.h"

#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

namespace {

constexpr int tileSizes[] = {16, 32};

int fail(const std::string& message) {
    std::cerr << "artgen: " << message << "\n";
    return 1;
}

std::string backgroundName(int index) { return "bg0" + std::to_string(index); }

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3 && !(argc == 5 && std::string(argv[3]) == "--contact")) {
        std::cerr << "usage: curdovar-artgen SOURCE_DIR OUTPUT_IMAGES_DIR [--contact FOLDER]\n";
        return 2;
    }
    const std::string source = argv[1];
    const std::string output = argv[2];
    ArtSource art(source);
    std::string error;
    if (!art.readPalette(error)) return fail(error);
    std::vector<Recipe> recipes;
    if (!readRecipes(source + "/images.txt", recipes, error)) return fail(error);

    ArtSet made;
    int written = 0;
    for (const int size : tileSizes) {
        const std::string folder = output + "/" + std::to_string(size);
        std::error_code ignored;
        std::filesystem::create_directories(folder, ignored);
        for (const Recipe& recipe : recipes) {
            Picture picture;
            if (!buildImage(art, recipe, size, picture, error)) return fail(error);
            const std::string path = folder + "/" + recipe.name + ".bmp";
            if (!savePicture(picture, path)) return fail("cannot write " + path);
            made.bySize[size].emplace_back(recipe.name, picture);
            ++written;
        }
    }
    for (int i = 0; i < backgroundCount; ++i) {
        const Picture picture = makeBackground(i);
        const std::string path = output + "/" + backgroundName(i) + ".bmp";
        if (!savePicture(picture, path)) return fail("cannot write " + path);
        made.backgrounds.push_back(picture);
        ++written;
    }
    std::cout << "Wrote " << written << " images to " << output << "\n";
    if (argc == 5) {
        std::error_code ignored;
        std::filesystem::create_directories(argv[4], ignored);
        if (!writeContactSheets(made, argv[4], error)) return fail(error);
        std::cout << "Contact sheets in " << argv[4] << "\n";
    }
    return 0;
}

// curdovar-artgen: turns the editable art (palette and text grids) into the
// game's images, both tile sizes, and makes the background images and the
// worlds' looks (art/looks.txt).
//   curdovar-artgen SOURCE_DIR OUTPUT_IMAGES_DIR [--contact FOLDER] [--icons FOLDER]
//       --contact  proof sheets of everything made, as PNG
//       --icons    the game's icon at every size, as PNG
// e.g. curdovar-artgen art data/images --icons packaging/icons

#include "tools/artgen/ArtSource.h"
#include "tools/artgen/Backgrounds.h"
#include "tools/artgen/ContactSheet.h"
#include "tools/artgen/Icons.h"
#include "tools/artgen/Looks.h"
#include "tools/artgen/Picture.h"
#include "tools/artgen/Recipe.h"

#include <filesystem>
#include <iostream>
#include <map>
#include <string>
#include <vector>

namespace {

constexpr int tileSizes[] = {16, 32};

int fail(const std::string& message) {
    std::cerr << "artgen: " << message << "\n";
    return 1;
}

std::string backgroundName(int index) { return "bg0" + std::to_string(index); }

const Picture* heroSheet(const ArtSet& made, const std::vector<Recipe>& recipes, int size) {
    for (size_t i = 0; i < recipes.size(); ++i)
        if (recipes[i].heroSheet) return &made.bySize.at(size)[i].second;
    return nullptr;
}

}  // namespace

int main(int argc, char** argv) {
    std::map<std::string, std::string> extras;  // option -> folder
    for (int i = 3; i + 1 < argc; i += 2) extras[argv[i]] = argv[i + 1];
    const bool known = argc >= 3 && argc % 2 == 1 && extras.size() == std::size_t(argc - 3) / 2 &&
                       extras.size() == extras.count("--contact") + extras.count("--icons");
    if (!known) {
        std::cerr << "usage: curdovar-artgen SOURCE_DIR OUTPUT_IMAGES_DIR [--contact FOLDER] [--icons FOLDER]\n";
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
    if (!makeLooks(art, source, output, written, error)) return fail(error);
    std::cout << "Wrote " << written << " images to " << output << "\n";
    for (const auto& [option, folder] : extras) {
        std::error_code ignored;
        std::filesystem::create_directories(folder, ignored);
        if (option == "--contact") {
            if (!writeContactSheets(made, folder, error)) return fail(error);
            std::cout << "Contact sheets in " << folder << "\n";
            continue;
        }
        const Picture* sheet16 = heroSheet(made, recipes, 16);
        if (!sheet16) return fail("no *hero sheet in images.txt to draw the icon from");
        if (!writeIcons(*sheet16, *heroSheet(made, recipes, 32), folder, error)) return fail(error);
        std::cout << "Icons in " << folder << "\n";
    }
    return 0;
}

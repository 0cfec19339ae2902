// The Lives, Form and Status lines are black text in the top-left corner. At
// the start of every shipped level, at both tile sizes, whatever lies behind
// them (background, tiles, objects) must leave the text readable: every pixel
// there gives black a contrast of at least 4.5 to 1.

#include "level/Level.h"
#include "media/Text.h"
#include "menus/Settings.h"
#include "shell/Game.h"
#include "tests/level/LevelTestSupport.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <iomanip>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr double leastContrast = 4.5;
constexpr int lineHeight = 16;

// Relative luminance of an sRGB colour, 0 (black) to 1 (white).
double relativeLuminance(SDL_Color c) {
    auto linear = [](Uint8 channel) {
        const double v = channel / 255.0;
        return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(c.r) + 0.7152 * linear(c.g) + 0.0722 * linear(c.b);
}

// Black text on a pixel of this luminance.
double contrastWithBlack(double luminance) { return (luminance + 0.05) / 0.05; }

// Where the three lines can stand at this screen width: each line as wide as
// its widest possible text (a hero carries its status in from the last level).
std::vector<SDL_Rect> statusArea(int screenWidth) {
    const std::vector<std::vector<std::string>> lines = {
        {"Lives: 10", "Lives: 5"},
        {"Form: Normal", "Form: Curdo"},
        {"Status: Normal", "Status: Rubber", "Status: French", "Status: Terrorist",
         "Status: German", "Status: Shaded"}};
    std::vector<SDL_Rect> area;
    for (size_t i = 0; i < lines.size(); ++i) {
        SDL_Rect box = {0, static_cast<Sint16>(i * lineHeight), 0, 0};
        for (const std::string& text : lines[i]) {
            SDL_Surface* drawn = renderFittedText(text, SDL_Color{0, 0, 0, 0}, screenWidth,
                                                  lineHeight);
            if (!drawn) continue;
            box.w = std::max<Uint16>(box.w, static_cast<Uint16>(drawn->w));
            box.h = std::max<Uint16>(box.h, static_cast<Uint16>(drawn->h));
            SDL_FreeSurface(drawn);
        }
        area.push_back(box);
    }
    return area;
}

// The camera a level starts with depends on where the previous level left it:
// above and left of the new start, or below and right of it.
struct Arrival {
    const char* name;
    Sint16 x;
    Sint16 y;
};
const Arrival arrivals[] = {{"from above", 0, 0}, {"from below", 30000, 30000}};

struct Reading {
    double darkest = 0;   // contrast on the darkest pixel
    double fifth = 0;     // contrast on the 5th percentile pixel, darkest first
    int pixels = 0;
    std::string cells;    // grid cells behind the lines that hold something
};

// The first frame of the level, drawn as the game draws it after advancing
// to it; the contrast of black on the pixels of `area`.
Reading firstFrame(const std::string& path, int size, const Arrival& arrival,
                   const std::vector<SDL_Rect>& area) {
    tileSize = size;
    SDL_Surface* screen = SDL_SetVideoMode(20 * size, 15 * size, 32, 0);
    if (!screen) {
        ADD_FAILURE() << "no screen at tile size " << size;
        return {};
    }
    const std::string file = std::filesystem::path(path).filename().string();
    int number = 0;
    std::sscanf(file.c_str(), "level%d.lvl", &number);

    camera = {arrival.x, arrival.y, static_cast<Uint16>(20 * size), static_cast<Uint16>(15 * size)};
    std::unique_ptr<Level> level = quietLevel(number);
    bool loaded = false;
    capture([&] {
        loaded = level->load(path);
        level->step();
        fillScreen(screen, backgroundColour(number));
        level->draw();
    });
    if (!loaded) {
        ADD_FAILURE() << path << " does not load";
        return {};
    }
    std::vector<double> contrasts;
    for (const SDL_Rect& box : area)
        for (int y = box.y; y < box.y + box.h; ++y)
            for (int x = box.x; x < box.x + box.w; ++x)
                contrasts.push_back(contrastWithBlack(relativeLuminance(pixelAt(screen, x, y))));
    std::sort(contrasts.begin(), contrasts.end());
    Reading reading;
    reading.pixels = static_cast<int>(contrasts.size());
    if (!contrasts.empty()) {
        reading.darkest = contrasts.front();
        reading.fifth = contrasts[contrasts.size() / 20];
    }
    // Name what stands there, so a failure points at the cell to clear.
    const Grid& grid = level->getGrid();
    for (int c = camera.x / size; c < level->getWidth() && c * size < camera.x + 20 * size; ++c)
        for (int r = camera.y / size; r < level->getHeight(); ++r) {
            const SDL_Rect cell = {static_cast<Sint16>(c * size - camera.x),
                                   static_cast<Sint16>(r * size - camera.y),
                                   static_cast<Uint16>(size), static_cast<Uint16>(size)};
            const bool behind = std::any_of(area.begin(), area.end(), [&](const SDL_Rect& box) {
                return cell.x < box.x + box.w && box.x < cell.x + cell.w &&
                       cell.y < box.y + box.h && box.y < cell.y + cell.h;
            });
            const int value = grid[c][r];
            if (behind && value != 0 && value != 4)
                reading.cells += " " + std::to_string(value) + " at column " + std::to_string(c) +
                                 ", row " + std::to_string(r) + ";";
        }
    return reading;
}

// Draws the levels with the shipped levels and, for a whole scene, the
// shipped images; for the backdrop alone only the background pictures (the
// numbered ones and the looks'), so that tiles, objects and the hero are
// missing and draw nothing. Either way there is no font: the frame holds
// everything but the text itself.
class Frames {
public:
    explicit Frames(bool wholeScene) {
        dir.useShipped("levels");
        if (wholeScene) {
            dir.useShipped("images");
            return;
        }
        for (const auto& entry :
             std::filesystem::directory_iterator(sourceDir() + "/data/images"))
            if (entry.is_regular_file())
                std::filesystem::create_symlink(
                    entry.path(), dir.path() + "/data/images/" + entry.path().filename().string());
        // A level with a look has the look's background instead: that alone, no tiles.
        const std::string looks = sourceDir() + "/data/images/looks";
        if (!std::filesystem::is_directory(looks)) return;
        for (const auto& look : std::filesystem::directory_iterator(looks)) {
            const std::string folder =
                dir.path() + "/data/images/looks/" + look.path().filename().string();
            std::filesystem::create_directories(folder);
            for (const char* picture : {"background.png", "background.bmp"})
                if (std::filesystem::exists(look.path() / picture))
                    std::filesystem::create_symlink(look.path() / picture,
                                                    folder + "/" + picture);
        }
    }

private:
    ScratchDir dir;
};

}  // namespace

TEST(StatusContrast, TheStatusLinesReadAtTheStartOfEveryShippedLevel) {
    std::vector<std::string> levels;
    for (const auto& entry : std::filesystem::directory_iterator(sourceDir() + "/data/levels"))
        if (entry.path().extension() == ".lvl") levels.push_back(entry.path().filename().string());
    std::sort(levels.begin(), levels.end());
    ASSERT_FALSE(levels.empty());

    std::vector<SDL_Rect> area[2];
    {
        ScratchDir withFont;
        withFont.useShipped("fonts");
        area[0] = statusArea(20 * 32);
        area[1] = statusArea(20 * 16);
        closeFontCache();
    }
    for (const auto& boxes : area)
        for (const SDL_Rect& box : boxes) ASSERT_GT(box.w * box.h, 0) << "the font measured nothing";

    // Worst over both arrivals: [level][size][0 scene, 1 backdrop].
    std::vector<std::vector<std::vector<Reading>>> worst(
        levels.size(), std::vector<std::vector<Reading>>(2, std::vector<Reading>(2)));
    for (const bool wholeScene : {true, false}) {
        Frames frames(wholeScene);
        for (size_t l = 0; l < levels.size(); ++l)
            for (int s = 0; s < 2; ++s) {
                const int size = s == 0 ? 32 : 16;
                Reading& kept = worst[l][s][wholeScene ? 0 : 1];
                kept.darkest = 1e9;
                for (const Arrival& arrival : arrivals) {
                    const Reading r = firstFrame("data/levels/" + levels[l], size, arrival, area[s]);
                    EXPECT_GT(r.pixels, 0);
                    EXPECT_GE(r.darkest, leastContrast)
                        << levels[l] << " at tile size " << size << ", camera arriving "
                        << arrival.name << ": the darkest pixel behind the status lines gives "
                        << "black text only " << r.darkest << ":1"
                        << (wholeScene ? " (keep the top-left corner of the first view open "
                                         "sky; behind the lines:" + r.cells + ")"
                                       : " on the background picture alone");
                    if (r.darkest < kept.darkest) kept = r;
                }
            }
    }
    SDL_SetVideoMode(640, 480, 32, 0);
    tileSize = 32;

    // The figures for whoever tunes the art or the levels.
    std::ostringstream table;
    table << std::fixed << std::setprecision(1)
          << "status lines at 32 and 16: " << area[0][2].w << " and " << area[1][2].w
          << " pixels wide, " << area[1][2].y + area[1][2].h << " high\n"
          << "contrast of black text, darkest pixel / 5th percentile, scene | backdrop\n";
    for (size_t l = 0; l < levels.size(); ++l) {
        table << std::setw(12) << std::left << levels[l] << std::right;
        for (int s = 0; s < 2; ++s)
            table << "  " << (s == 0 ? 32 : 16) << ": " << worst[l][s][0].darkest << "/"
                  << worst[l][s][0].fifth << " | " << worst[l][s][1].darkest << "/"
                  << worst[l][s][1].fifth;
        table << "\n";
    }
    std::cout << table.str();
}

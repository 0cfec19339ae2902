// The worlds' looks the shipped levels name, in data/images/looks: each has
// its solid tiles at both tile sizes; each background wraps across without a
// seam, is tall enough that no level naming the look sees it repeat down
// the level, and stays light and calm behind the black status text and the
// play; and the campaign's worlds are runs of consecutive levels.

#include "level/Level.h"
#include "tests/level/LevelTestSupport.h"
#include "tests/support/TestSupport.h"

#include <SDL_image.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

constexpr int viewRows = 15;           // rows of tiles the window shows
constexpr int parallaxDivisor = 6;     // the background moves a sixth as fast as the view
constexpr int bigTile = 32;            // pixels: the size at which a level needs most background
const char* const solidTiles[] = {"wall", "cwall", "iwall", "fwall", "platform"};

// The background height, in pixels, that a level of `rows` rows shows at 32:
// the view, plus a sixth of the level beyond it.
int backgroundNeeded(int rows) {
    const int view = viewRows * bigTile;
    return view + std::max(0, rows * bigTile - view) / parallaxDivisor;
}

// A picture as 32-bit 0xRRGGBB pixels; empty when it does not load.
struct Picture {
    int w = 0;
    int h = 0;
    std::vector<Uint32> rgb;
    int channel(int x, int y, int shift) const {
        return static_cast<int>((rgb[static_cast<size_t>(y) * w + x] >> shift) & 0xFF);
    }
};

Picture readPicture(const std::string& path) {
    Picture p;
    SDL_Surface* loaded = IMG_Load(path.c_str());
    if (!loaded) return p;
    SDL_Surface* plain = SDL_CreateRGBSurface(SDL_SWSURFACE, loaded->w, loaded->h, 32, 0x00FF0000,
                                              0x0000FF00, 0x000000FF, 0);
    SDL_BlitSurface(loaded, nullptr, plain, nullptr);
    p.w = plain->w;
    p.h = plain->h;
    SDL_LockSurface(plain);
    for (int y = 0; y < p.h; ++y)
        for (int x = 0; x < p.w; ++x)
            p.rgb.push_back(*reinterpret_cast<Uint32*>(static_cast<Uint8*>(plain->pixels) +
                                                        y * plain->pitch + 4 * x) &
                            0xFFFFFF);
    SDL_UnlockSurface(plain);
    SDL_FreeSurface(plain);
    SDL_FreeSurface(loaded);
    return p;
}

// Mean difference, per pixel and channel, between column a and column b,
// each first blurred over its 4 rows so ordered dithering does not count.
double columnStep(const Picture& p, int a, int b) {
    constexpr int blur = 4;
    double total = 0;
    int count = 0;
    for (int y = 0; y + blur <= p.h; y += blur)
        for (int shift : {16, 8, 0}) {
            int sumA = 0, sumB = 0;
            for (int dy = 0; dy < blur; ++dy) {
                sumA += p.channel(a, y + dy, shift);
                sumB += p.channel(b, y + dy, shift);
            }
            total += std::abs(sumA - sumB) / static_cast<double>(blur);
            ++count;
        }
    return count ? total / count : 0;
}

constexpr Uint32 colourKey = 0x00FFFF;  // pure cyan: see-through in the game's images
constexpr double leastContrast = 4.5;   // black text on any background pixel
constexpr double calmness = 0.6;        // a background's spread of brightness, at most, against its tiles'

double luma(Uint32 c) {
    return 0.299 * ((c >> 16) & 0xFF) + 0.587 * ((c >> 8) & 0xFF) + 0.114 * (c & 0xFF);
}

// How far the brightness of the seen pixels spreads (standard deviation).
double brightnessSpread(const Picture& p) {
    double sum = 0, squares = 0;
    int count = 0;
    for (const Uint32 c : p.rgb) {
        if (c == colourKey) continue;
        sum += luma(c);
        squares += luma(c) * luma(c);
        ++count;
    }
    if (count == 0) return 0;
    const double mean = sum / count;
    return std::sqrt(std::max(0.0, squares / count - mean * mean));
}

// Black text's contrast on this colour, by the relative luminance of sRGB.
double contrastWithBlack(Uint32 c) {
    auto linear = [](Uint32 channel) {
        const double v = (channel & 0xFF) / 255.0;
        return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    const double l = 0.2126 * linear(c >> 16) + 0.7152 * linear(c >> 8) + 0.0722 * linear(c);
    return (l + 0.05) / 0.05;
}

struct ShippedLevelLook {
    std::string file;
    int number = -1;  // 0: the menu
    std::string look;
    int rows = 0;
};

class ShippedLooks : public testing::Test {
protected:
    void SetUp() override {
        dir.useShipped("levels");
        dir.useShipped("images");
        for (const auto& entry :
             std::filesystem::directory_iterator(sourceDir() + "/data/levels")) {
            const std::string file = entry.path().filename().string();
            if (entry.path().extension() != ".lvl") continue;
            ShippedLevelLook level;
            level.file = file;
            if (file == "menu.lvl") level.number = 0;
            else if (std::sscanf(file.c_str(), "level%d.lvl", &level.number) != 1) continue;
            std::unique_ptr<Level> loaded = quietLevel(level.number);
            bool ok = false;
            capture([&] { ok = loaded->load("data/levels/" + file); });
            ASSERT_TRUE(ok) << file;
            level.look = loaded->getLook();
            level.rows = loaded->getHeight();
            levels.push_back(level);
        }
        std::sort(levels.begin(), levels.end(),
                  [](const ShippedLevelLook& a, const ShippedLevelLook& b) {
                      return a.number < b.number;
                  });
        ASSERT_GT(levels.size(), 2u);
    }
    std::string lookFolder(const std::string& look) const {
        return sourceDir() + "/data/images/looks/" + look;
    }

    ScratchDir dir;
    std::vector<ShippedLevelLook> levels;
};

}  // namespace

TEST_F(ShippedLooks, EveryLookNamedHasItsSolidTilesAtBothSizesAndAFittingBackground) {
    std::map<std::string, int> tallest;  // look -> rows of its tallest level
    for (const ShippedLevelLook& level : levels) {
        EXPECT_FALSE(level.look.empty()) << level.file << " names no look";
        if (!level.look.empty())
            tallest[level.look] = std::max(tallest[level.look], level.rows);
    }
    for (const auto& [look, rows] : tallest) {
        SCOPED_TRACE(look);
        for (const int size : {16, 32})
            for (const char* tile : solidTiles) {
                const Picture image = readPicture(lookFolder(look) + "/" + std::to_string(size) +
                                                  "/" + tile + ".png");
                EXPECT_EQ(image.w, size) << tile << " at " << size;
                EXPECT_EQ(image.h, size) << tile << " at " << size;
            }
        const Picture background = readPicture(lookFolder(look) + "/background.png");
        ASSERT_GT(background.w, 0) << "no background";
        EXPECT_GE(background.h, backgroundNeeded(rows))
            << "the background repeats down a level of " << rows << " rows";
    }
}

TEST_F(ShippedLooks, BackgroundsMeetAcrossTheirLeftAndRightEdges) {
    int checked = 0;
    for (const auto& entry :
         std::filesystem::directory_iterator(sourceDir() + "/data/images/looks")) {
        const Picture p = readPicture(entry.path().string() + "/background.png");
        if (p.w < 3) continue;
        // The step from the last column round to the first is no bigger than
        // most steps between neighbouring columns inside; or, where it is a
        // hard line (a brick joint), the last and first columns side by side
        // look like a pair of neighbours inside, within half such a step.
        std::vector<double> steps;
        for (int x = 0; x + 1 < p.w; ++x) steps.push_back(columnStep(p, x, x + 1));
        std::sort(steps.begin(), steps.end());
        const double ordinary = steps[steps.size() * 9 / 10];
        const double across = columnStep(p, p.w - 1, 0);
        double closest = 1e9;
        for (int x = 0; x + 1 < p.w; ++x)
            closest = std::min(closest, (columnStep(p, p.w - 1, x) + columnStep(p, 0, x + 1)) / 2);
        EXPECT_TRUE(across <= ordinary || closest <= ordinary / 2)
            << entry.path().filename().string() << ": the left and right edges do not meet (a step of "
            << across << " across them, " << ordinary << " inside; the nearest pair inside "
            << closest << " away)";
        ++checked;
    }
    EXPECT_GT(checked, 0) << "no look has a background";
}

// A level may open with any part of its background behind the status lines,
// and the hero, the enemies and the signs must stand out on all of it.
TEST_F(ShippedLooks, BackgroundsAreOpaqueLightAndCalmerThanTheirLooksTiles) {
    int checked = 0;
    for (const auto& entry :
         std::filesystem::directory_iterator(sourceDir() + "/data/images/looks")) {
        const std::string look = entry.path().filename().string();
        const Picture p = readPicture(entry.path().string() + "/background.png");
        if (p.rgb.empty()) continue;
        int seeThrough = 0;
        double darkest = 1e9;
        for (const Uint32 c : p.rgb) {
            seeThrough += c == colourKey;
            darkest = std::min(darkest, contrastWithBlack(c));
        }
        EXPECT_EQ(seeThrough, 0) << look << ": the level's colour shows through the background";
        EXPECT_GE(darkest, leastContrast) << look << ": a background pixel too dark for black text";
        double tiles = 0;
        for (const char* tile : {"wall", "cwall", "fwall", "platform"})
            tiles += brightnessSpread(readPicture(entry.path().string() + "/32/" + tile + ".png"));
        tiles /= 4;
        EXPECT_LT(brightnessSpread(p), calmness * tiles)
            << look << ": the background is as busy as the tiles played on it";
        ++checked;
    }
    EXPECT_GT(checked, 0) << "no look has a background";
}

// A world is one run of consecutive campaign levels, and the menu has a look
// of its own: at every boundary the next level opens in another world.
TEST_F(ShippedLooks, EachWorldIsOneRunOfConsecutiveLevelsAndTheMenuHasItsOwn) {
    std::set<std::string> finished;
    std::string current;
    for (const ShippedLevelLook& level : levels) {
        if (level.number == 0) continue;
        if (level.look == current) continue;
        EXPECT_EQ(finished.count(level.look), 0u)
            << level.file << " goes back to the world of " << level.look;
        if (!current.empty()) finished.insert(current);
        current = level.look;
    }
    if (!current.empty()) finished.insert(current);
    const std::string menuLook = levels.front().number == 0 ? levels.front().look : "";
    EXPECT_FALSE(menuLook.empty()) << "the menu names no look";
    EXPECT_EQ(finished.count(menuLook), 0u) << "the menu shares the look " << menuLook;
    EXPECT_GE(finished.size(), 5u) << "fewer than five worlds";
}

// The shipped art: the generator reproduces it exactly, every image the game
// loads is there at both tile sizes with the right size, transparency works
// through the game's own loader, and the pictures follow the art direction
// (outlines, a readable hero sheet, calm seamless backgrounds), and the
// game's icon is the hero, crisp at every size.

#include "media/Images.h"
#include "menus/Settings.h"
#include "tests/support/TestSupport.h"

#include <SDL_image.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

const std::vector<std::string> tileNames = {
    "wall",   "spikes", "spring", "caflady", "key",       "goal",       "shades", "pierre",
    "stalag", "iwall",  "bomb",   "cwall",   "ahmed",     "hans",       "alphorn", "toggletime",
    "flame",  "platform", "fwall", "goto",   "curdotree", "curdotree_sprouted"};
const std::vector<std::string> objectNames = {"hint", "portal", "door", "milk", "options",
                                              "controls"};
const std::vector<std::string> stripNames = {"chomperanim", "zipperanim", "flapperanim",
                                             "blobberanim", "bombanim"};
constexpr int tileSizes[] = {16, 32};
constexpr int backgroundCount = 10;

// Size of each image in tiles (width, height); milk is fitted and may be narrower.
std::map<std::string, std::pair<int, int>> tileUnits() {
    std::map<std::string, std::pair<int, int>> units;
    for (const auto& name : tileNames) units[name] = {1, 1};
    for (const auto& name : objectNames) units[name] = {1, 1};
    for (const auto& name : stripNames) units[name] = {4, 1};
    units["crabanim"] = {2, 1};
    units["maimframe"] = {2, 2};
    units["us"] = {12, 6};
    return units;
}

std::string backgroundName(int i) { return "bg0" + std::to_string(i); }

std::string readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// An image file as plain 0xRRGGBB pixels, read without the game's conversion.
struct Pixels {
    int w = 0;
    int h = 0;
    std::vector<Uint32> rgb;
    Uint32 at(int x, int y) const { return rgb[static_cast<size_t>(y) * w + x]; }
    bool clear(int x, int y) const { return at(x, y) == 0x00FFFF; }
    bool cellClear(int x0, int y0, int cw, int ch) const {
        for (int y = y0; y < y0 + ch; ++y)
            for (int x = x0; x < x0 + cw; ++x)
                if (!clear(x, y)) return false;
        return true;
    }
    bool sameCell(int ax, int ay, int bx, int by, int side) const {
        for (int y = 0; y < side; ++y)
            for (int x = 0; x < side; ++x)
                if (at(ax + x, ay + y) != at(bx + x, by + y)) return false;
        return true;
    }
};

// BMP through SDL, anything else (the looks' PNG) through SDL_image.
Pixels readPixels(const std::string& path) {
    Pixels p;
    const bool bmp = path.size() > 4 && path.compare(path.size() - 4, 4, ".bmp") == 0;
    SDL_Surface* loaded = bmp ? SDL_LoadBMP(path.c_str()) : IMG_Load(path.c_str());
    if (!loaded) {
        ADD_FAILURE() << "cannot read " << path;
        return p;
    }
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

std::string shipped(int size, const std::string& name) {
    return sourceDir() + "/data/images/" + std::to_string(size) + "/" + name + ".bmp";
}

double luminance(Uint32 c) {
    return 0.299 * ((c >> 16) & 0xFF) + 0.587 * ((c >> 8) & 0xFF) + 0.114 * (c & 0xFF);
}

// A colour a player would take for the transparent cyan.
bool cyanLike(Uint32 c) {
    return ((c >> 16) & 0xFF) < 64 && ((c >> 8) & 0xFF) > 192 && (c & 0xFF) > 192;
}

// Runs the built generator; its output lands in `log`.
int runGenerator(const std::string& source, const std::string& output, const std::string& log) {
    const std::string command = "'" + buildDir() + "/curdovar-artgen' '" + source + "' '" +
                                output + "' > '" + log + "' 2>&1";
    return std::system(command.c_str());
}

}  // namespace

TEST(ArtRegeneration, CommittedImagesAreExactlyWhatTheGeneratorMakes) {
    ScratchDir scratch;
    const std::string out = scratch.path() + "/out";
    ASSERT_EQ(runGenerator(sourceDir() + "/art", out, scratch.path() + "/log"), 0)
        << scratch.read("log");

    int compared = 0;
    for (const auto& entry : fs::recursive_directory_iterator(out)) {
        if (!entry.is_regular_file()) continue;
        const std::string relative = fs::relative(entry.path(), out).string();
        const std::string committed = sourceDir() + "/data/images/" + relative;
        ASSERT_TRUE(fs::exists(committed)) << relative << " is generated but not committed";
        EXPECT_TRUE(readBytes(entry.path().string()) == readBytes(committed))
            << relative << " differs from the generator's output: regenerate with "
            << "curdovar-artgen art data/images";
        ++compared;
    }
    // Every image the game loads at two sizes, plus the backgrounds.
    EXPECT_GE(compared, 2 * static_cast<int>(tileUnits().size()) + backgroundCount);

    // Nothing stale: every committed image comes from the generator.
    for (const auto& entry : fs::recursive_directory_iterator(sourceDir() + "/data/images")) {
        if (entry.path().extension() != ".bmp" && entry.path().extension() != ".png") continue;
        const std::string relative =
            fs::relative(entry.path(), sourceDir() + "/data/images").string();
        EXPECT_TRUE(fs::exists(out + "/" + relative)) << relative << " has no source";
    }
}

TEST(ArtPresence, EveryImageTheGameLoadsExistsAtBothSizes) {
    for (const int size : tileSizes) {
        const std::string folder = sourceDir() + "/data/images/" + std::to_string(size) + "/";
        for (const auto& image : tileUnits()) {
            const std::string base = folder + image.first;
            EXPECT_TRUE(fs::exists(base + ".bmp") || fs::exists(base + ".png"))
                << image.first << " missing at " << size;
        }
        // Backgrounds are named ../bg0N from inside the size folder.
        for (int i = 0; i < backgroundCount; ++i) {
            const std::string base = folder + "../" + backgroundName(i);
            EXPECT_TRUE(fs::exists(base + ".bmp") || fs::exists(base + ".png"))
                << backgroundName(i) << " missing";
        }
    }
}

TEST(ArtSizes, ImagesAreTheirSizeInTilesAtBothTileSizes) {
    for (const int size : tileSizes) {
        for (const auto& image : tileUnits()) {
            const Pixels p = readPixels(shipped(size, image.first));
            EXPECT_EQ(p.h, image.second.second * size) << image.first << " at " << size;
            if (image.first == "milk") {
                EXPECT_GE(p.w, size / 2) << "milk at " << size;
                EXPECT_LE(p.w, size) << "milk at " << size;
            } else {
                EXPECT_EQ(p.w, image.second.first * size) << image.first << " at " << size;
            }
        }
    }
    for (int i = 0; i < backgroundCount; ++i) {
        const Pixels p = readPixels(sourceDir() + "/data/images/" + backgroundName(i) + ".bmp");
        EXPECT_EQ(p.w, 256) << backgroundName(i);
        EXPECT_EQ(p.h, 256) << backgroundName(i);
    }
}

TEST(ArtTransparency, OnlyTheExactKeyIsCyanAndSpritesHaveSeeThroughParts) {
    std::vector<std::string> paths;
    for (const int size : tileSizes)
        for (const auto& image : tileUnits()) paths.push_back(shipped(size, image.first));
    for (int i = 0; i < backgroundCount; ++i)
        paths.push_back(sourceDir() + "/data/images/" + backgroundName(i) + ".bmp");
    for (const auto& path : paths) {
        const Pixels p = readPixels(path);
        int nearMisses = 0;
        for (const Uint32 c : p.rgb)
            if (c != 0x00FFFF && cyanLike(c)) ++nearMisses;
        EXPECT_EQ(nearMisses, 0) << path << " has visible pixels close to the key colour";
    }
    for (const int size : tileSizes) {
        // Only the walls and the door fill their whole square.
        for (const auto& image : tileUnits()) {
            if (image.first == "wall" || image.first == "cwall" || image.first == "door") continue;
            const Pixels p = readPixels(shipped(size, image.first));
            EXPECT_FALSE(std::none_of(p.rgb.begin(), p.rgb.end(),
                                      [](Uint32 c) { return c == 0x00FFFF; }))
                << image.first << " at " << size << " has no transparent pixel";
        }
        // The platform is a ledge on top with nothing below it.
        const Pixels ledge = readPixels(shipped(size, "platform"));
        for (int x = 0; x < size; ++x) EXPECT_FALSE(ledge.clear(x, 0)) << "platform top at " << x;
        EXPECT_TRUE(ledge.cellClear(0, size / 2, size, size / 2)) << "platform at " << size;
    }
}

TEST(ArtDirection, SpritesAndTilesHaveADarkOutline) {
    // The fake and hidden walls are see-through on purpose.
    for (const int size : tileSizes)
        for (const auto& image : tileUnits()) {
            if (image.first == "fwall" || image.first == "iwall") continue;
            const Pixels p = readPixels(shipped(size, image.first));
            int edge = 0, dark = 0;
            for (int y = 0; y < p.h; ++y)
                for (int x = 0; x < p.w; ++x) {
                    if (p.clear(x, y)) continue;
                    const bool bordersClear = (x > 0 && p.clear(x - 1, y)) ||
                                              (x + 1 < p.w && p.clear(x + 1, y)) ||
                                              (y > 0 && p.clear(x, y - 1)) ||
                                              (y + 1 < p.h && p.clear(x, y + 1));
                    if (!bordersClear) continue;
                    ++edge;
                    if (luminance(p.at(x, y)) < 100) ++dark;
                }
            // A spark or a glint may sit on the edge; nearly all of it must be dark.
            EXPECT_GE(dark * 100, edge * 85)
                << image.first << " at " << size << ": " << dark << " of " << edge
                << " edge pixels dark";
        }
}

TEST(HeroSheet, IconsSitInColumnThreeAndEveryCellElseIsClear) {
    for (const int t : tileSizes) {
        const Pixels us = readPixels(shipped(t, "us"));
        ASSERT_EQ(us.w, 12 * t);
        const Pixels key = readPixels(shipped(t, "key"));
        const Pixels bomb = readPixels(shipped(t, "bomb"));
        for (int y = 0; y < t; ++y)
            for (int x = 0; x < t; ++x) {
                ASSERT_EQ(us.at(3 * t + x, y), key.at(x, y)) << "key icon at " << t;
                ASSERT_EQ(us.at(3 * t + x, t + y), bomb.at(x, y)) << "bomb icon at " << t;
            }
        for (int group = 0; group < 3; ++group)
            for (int row = 0; row < 6; ++row) {
                const bool icon = group == 0 && row < 2;
                if (!icon) {
                    EXPECT_TRUE(us.cellClear((4 * group + 3) * t, row * t, t, t))
                        << "column 3 of group " << group << ", row " << row << " at " << t;
                }
                for (int frame = 0; frame < 3; ++frame)
                    EXPECT_FALSE(us.cellClear((4 * group + frame) * t, row * t, t, t))
                        << "form " << group << " status " << row << " frame " << frame;
            }
    }
}

TEST(HeroSheet, EveryStatusAndFormLooksDifferent) {
    for (const int t : tileSizes) {
        const Pixels us = readPixels(shipped(t, "us"));
        for (int form = 0; form < 3; ++form)
            for (int frame = 0; frame < 3; ++frame) {
                const int x = (4 * form + frame) * t;
                for (int a = 0; a < 6; ++a)
                    for (int b = a + 1; b < 6; ++b)
                        EXPECT_FALSE(us.sameCell(x, a * t, x, b * t, t))
                            << "statuses " << a << " and " << b << " look alike in form "
                            << form << " at " << t;
            }
        for (int status = 0; status < 6; ++status)
            for (int a = 0; a < 3; ++a)
                for (int b = a + 1; b < 3; ++b)
                    EXPECT_FALSE(us.sameCell(4 * a * t, status * t, 4 * b * t, status * t, t))
                        << "forms " << a << " and " << b << " look alike at " << t;
        // The walk frames differ from standing, or the hero would glide.
        for (int form = 0; form < 3; ++form)
            for (int frame = 1; frame < 3; ++frame)
                EXPECT_FALSE(us.sameCell(4 * form * t, 0, (4 * form + frame) * t, 0, t));
    }
}

TEST(ArtLoading, EveryImageLoadsThroughTheGameLoaderWithCyanSeeThrough) {
    for (const int size : tileSizes) {
        ScratchDir scratch;
        scratch.useShipped("images");
        tileSize = size;
        std::vector<std::string> names;
        for (const auto& image : tileUnits()) names.push_back(image.first);
        for (int i = 0; i < backgroundCount; ++i) names.push_back("../" + backgroundName(i));

        testing::internal::CaptureStdout();
        for (const auto& name : names) {
            SDL_Surface* image = loadTileImage(name);
            ASSERT_NE(image, nullptr) << name << " at " << size;
            const std::string file = name.rfind("../", 0) == 0
                                         ? sourceDir() + "/data/images/" + name.substr(3) + ".bmp"
                                         : shipped(size, name);
            const Pixels raw = readPixels(file);
            EXPECT_EQ(image->w, raw.w);
            EXPECT_EQ(image->h, raw.h);
            EXPECT_TRUE(image->flags & SDL_SRCCOLORKEY) << name;

            // Drawn onto magenta, the key shows the magenta and nothing else does.
            SDL_Surface* canvas = SDL_CreateRGBSurface(SDL_SWSURFACE, image->w, image->h, 32,
                                                       0x00FF0000, 0x0000FF00, 0x000000FF, 0);
            SDL_FillRect(canvas, nullptr, SDL_MapRGB(canvas->format, 255, 0, 255));
            drawSurface(0, 0, image, canvas, nullptr, 255);
            int mismatches = 0;
            for (int y = 0; y < raw.h; y += 3)
                for (int x = 0; x < raw.w; x += 3) {
                    const SDL_Color shown = pixelAt(canvas, x, y);
                    const Uint32 got = (Uint32(shown.r) << 16) | (Uint32(shown.g) << 8) | shown.b;
                    const Uint32 want = raw.clear(x, y) ? 0xFF00FF : raw.at(x, y);
                    if (got != want) ++mismatches;
                }
            EXPECT_EQ(mismatches, 0) << name << " at " << size;
            SDL_FreeSurface(canvas);
            SDL_FreeSurface(image);
        }
        const std::string printed = testing::internal::GetCapturedStdout();
        EXPECT_EQ(printed.find("failed to load"), std::string::npos) << printed;
    }
}

namespace {

// How much line `from` differs from the next line (the first one for the
// last): the mean colour step between neighbours, the key counted as cyan.
double lineStep(const Pixels& p, bool rows, int from) {
    const int length = rows ? p.w : p.h;
    const int lines = rows ? p.h : p.w;
    const int to = (from + 1) % lines;
    double total = 0;
    for (int i = 0; i < length; ++i) {
        const Uint32 a = rows ? p.at(i, from) : p.at(from, i);
        const Uint32 b = rows ? p.at(i, to) : p.at(to, i);
        total += std::abs(luminance(a) - luminance(b)) + (a == b ? 0 : 1);
    }
    return total / length;
}

double luminanceSpread(const Pixels& p) {
    double sum = 0, squares = 0;
    int count = 0;
    for (const Uint32 c : p.rgb) {
        if (c == 0x00FFFF) continue;
        sum += luminance(c);
        squares += luminance(c) * luminance(c);
        ++count;
    }
    if (count == 0) return 0;
    const double mean = sum / count;
    return std::sqrt(squares / count - mean * mean);
}

}  // namespace

TEST(Backgrounds, WrapWithoutAVisibleSeam) {
    for (int i = 0; i < backgroundCount; ++i) {
        const Pixels p = readPixels(sourceDir() + "/data/images/" + backgroundName(i) + ".bmp");
        // The step across the wrap is no rougher than the roughest step inside
        // (a brick course or a ridge may be a hard line, so long as it repeats).
        for (const bool rows : {false, true}) {
            const int last = (rows ? p.h : p.w) - 1;
            double roughest = 0;
            for (int line = 0; line < last; ++line)
                roughest = std::max(roughest, lineStep(p, rows, line));
            EXPECT_LE(lineStep(p, rows, last), roughest * 1.05 + 0.5)
                << backgroundName(i) << (rows ? " top and bottom" : " left and right")
                << " edges do not meet";
        }
    }
}

TEST(Backgrounds, AreCalmerThanThePlayLayer) {
    double tiles = 0;
    for (const auto& name : tileNames) tiles += luminanceSpread(readPixels(shipped(32, name)));
    tiles /= tileNames.size();
    for (int i = 0; i < backgroundCount; ++i) {
        const Pixels p = readPixels(sourceDir() + "/data/images/" + backgroundName(i) + ".bmp");
        EXPECT_LT(luminanceSpread(p), 0.6 * tiles) << backgroundName(i);
    }
}

// The status lines are black text drawn straight over the background, and a
// level may start with any part of the picture behind them: every pixel is
// opaque (no level colour shows through) and light enough for black text
// to keep a contrast of 4.5 to 1.
TEST(Backgrounds, AreOpaqueAndLightEnoughForBlackText) {
    auto linear = [](Uint32 channel) {
        const double v = (channel & 0xFF) / 255.0;
        return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    for (int i = 0; i < backgroundCount; ++i) {
        const Pixels p = readPixels(sourceDir() + "/data/images/" + backgroundName(i) + ".bmp");
        int clear = 0;
        double darkest = 1;
        for (const Uint32 c : p.rgb) {
            if (c == 0x00FFFF) ++clear;
            const double l = 0.2126 * linear(c >> 16) + 0.7152 * linear(c >> 8) +
                             0.0722 * linear(c);
            darkest = std::min(darkest, l);
        }
        EXPECT_EQ(clear, 0) << backgroundName(i) << " lets the level colour through";
        EXPECT_GE((darkest + 0.05) / 0.05, 4.5) << backgroundName(i) << " has too dark a pixel";
    }
}

// The generator itself, on small sources written for the test.
class ArtGenerator : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(std::system(("mkdir -p '" + scratch.path() + "/art/16' '" + scratch.path() +
                               "/art/32'")
                                  .c_str()),
                  0);
        scratch.write("art/palette.txt",
                      "# test colours\nk 000000 black\nr ff0000 red\nw ffffff white\n"
                      "g 00ff00 green\n");
    }
    // Runs the generator on art/ into out/; the exit status.
    int generate() {
        return runGenerator(scratch.path() + "/art", scratch.path() + "/out",
                            scratch.path() + "/log");
    }
    Pixels output(int size, const std::string& name) {
        return readPixels(scratch.path() + "/out/" + std::to_string(size) + "/" + name + ".bmp");
    }
    // A 16 by 16 grid, transparent but for the listed pixels.
    void writeGrid(const std::string& name, const std::vector<std::string>& marks, int w = 16) {
        std::vector<std::string> rows(16, std::string(w, '.'));
        for (const auto& mark : marks) {
            std::istringstream fields(mark);
            int x = 0, y = 0;
            char colour = 0;
            fields >> x >> y >> colour;
            rows[y][x] = colour;
        }
        std::string text = "# " + name + "\n";
        for (const auto& row : rows) text += row + "\n";
        scratch.write("art/16/" + name + ".txt", text);
    }
    ScratchDir scratch;
};

TEST_F(ArtGenerator, BuildsImagesFromGridsFramesMirrorsAndLayers) {
    writeGrid("strip", {"0 0 r", "1 0 w", "16 5 k", "31 15 g"}, 32);
    writeGrid("dot", {"0 0 g", "7 7 k"});
    scratch.write("art/images.txt",
                  "# test\nplain strip@0\nflipped strip@0~ strip@1\nstacked strip@0+dot\n");
    ASSERT_EQ(generate(), 0) << scratch.read("log");

    const Pixels plain = output(16, "plain");
    ASSERT_EQ(plain.w, 16);
    EXPECT_EQ(plain.at(0, 0), 0xFF0000u);
    EXPECT_EQ(plain.at(1, 0), 0xFFFFFFu);
    EXPECT_TRUE(plain.clear(2, 0));  // '.' becomes the cyan key

    const Pixels flipped = output(16, "flipped");
    ASSERT_EQ(flipped.w, 32);
    EXPECT_EQ(flipped.at(15, 0), 0xFF0000u);
    EXPECT_EQ(flipped.at(14, 0), 0xFFFFFFu);
    EXPECT_EQ(flipped.at(16, 5), 0x000000u);
    EXPECT_EQ(flipped.at(31, 15), 0x00FF00u);

    const Pixels stacked = output(16, "stacked");
    EXPECT_EQ(stacked.at(0, 0), 0x00FF00u);  // the later layer wins
    EXPECT_EQ(stacked.at(1, 0), 0xFFFFFFu);  // and leaves the rest
    EXPECT_EQ(stacked.at(7, 7), 0x000000u);

    // Backgrounds come with every run.
    for (int i = 0; i < backgroundCount; ++i)
        EXPECT_TRUE(scratch.exists("out/" + backgroundName(i) + ".bmp"));
}

TEST_F(ArtGenerator, ScalesWithScale2xFrameByFrameUnlessA32PixelGridIsDrawn) {
    // A diagonal line: Scale2x fills the stair steps that plain doubling leaves.
    writeGrid("line", {"0 0 r", "1 1 r", "2 2 r", "3 3 r"});
    // Two frames whose pixels touch diagonally across the frame boundary.
    writeGrid("pair", {"15 5 r", "16 4 r"}, 32);
    writeGrid("drawn", {"0 0 r"});
    std::string big;
    for (int y = 0; y < 32; ++y) big += std::string(32, y == 31 ? 'g' : '.') + "\n";
    scratch.write("art/32/drawn.txt", big);
    scratch.write("art/images.txt", "line line\npair pair@0 pair@1\ndrawn drawn\n");
    ASSERT_EQ(generate(), 0) << scratch.read("log");

    const Pixels line = output(32, "line");
    ASSERT_EQ(line.w, 32);
    EXPECT_EQ(line.at(0, 0), 0xFF0000u);
    EXPECT_EQ(line.at(3, 3), 0xFF0000u);
    EXPECT_EQ(line.at(2, 1), 0xFF0000u);  // smoothed: (1, 0) takes red below-left
    EXPECT_TRUE(line.clear(3, 0));
    EXPECT_TRUE(line.clear(7, 0));

    const Pixels pair = output(32, "pair");
    ASSERT_EQ(pair.w, 64);
    EXPECT_EQ(pair.at(30, 10), 0xFF0000u);
    EXPECT_EQ(pair.at(32, 8), 0xFF0000u);
    EXPECT_TRUE(pair.clear(31, 9)) << "frame 1 bled into frame 0";

    const Pixels drawn = output(32, "drawn");
    EXPECT_TRUE(drawn.clear(0, 0));
    EXPECT_EQ(drawn.at(5, 31), 0x00FF00u);
}

TEST_F(ArtGenerator, MakesALookFromItsOwnPaletteAndGridsOverTheMainOnes) {
    writeGrid("wall", {"0 0 r", "1 0 w"});
    writeGrid("mark", {"2 0 r"});
    scratch.write("art/images.txt", "wall wall\n");
    scratch.write("art/looks.txt", "# looks\nmeadow 300\n");
    ASSERT_EQ(std::system(("mkdir -p '" + scratch.path() + "/art/looks/meadow/16'").c_str()), 0);
    // The look gives 'r' a new colour and draws its own wall; the mark stays the main grid's.
    scratch.write("art/looks/meadow/palette.txt", "r 0000ff blue\n");
    scratch.write("art/looks/meadow/16/wall.txt", std::string(15, '.') + "r\n");
    scratch.write("art/looks/meadow/images.txt", "wall wall\nmarked wall+mark\n");
    ASSERT_EQ(generate(), 0) << scratch.read("log");

    EXPECT_EQ(output(16, "wall").at(0, 0), 0xFF0000u) << "the look changed the main set";
    const std::string look = scratch.path() + "/out/looks/meadow/";
    for (const int size : tileSizes) {
        const Pixels marked = readPixels(look + std::to_string(size) + "/marked.png");
        ASSERT_EQ(marked.w, size);
        const int scale = size / 16;
        EXPECT_EQ(marked.at(15 * scale, 0), 0x0000FFu) << "the look's own wall, its own red";
        EXPECT_EQ(marked.at(2 * scale, 0), 0x0000FFu) << "the main mark in the look's red";
        EXPECT_TRUE(marked.clear(0, 0)) << "clear pixels are the game's cyan key";
    }
    const Pixels background = readPixels(look + "background.png");
    EXPECT_EQ(background.h, 300);

    // A look the generator draws no background for is refused, by name.
    scratch.write("art/looks.txt", "nowhere 300\n");
    ASSERT_EQ(std::system(("mkdir -p '" + scratch.path() + "/art/looks/nowhere'").c_str()), 0);
    scratch.write("art/looks/nowhere/palette.txt", "# none\n");
    scratch.write("art/looks/nowhere/images.txt", "wall wall\n");
    EXPECT_NE(generate(), 0);
    EXPECT_NE(scratch.read("log").find("no background is drawn for the look nowhere"),
              std::string::npos)
        << scratch.read("log");
}

TEST_F(ArtGenerator, ComposesTheHeroSheetFromBodiesOverlaysAndIcons) {
    // Bodies of three frames; the second Normal frame sits a pixel lower.
    writeGrid("body_hero", {"7 4 w", "23 5 w", "39 4 w"}, 48);
    writeGrid("body_curdo", {"7 8 w", "23 8 w", "39 8 w"}, 48);
    const char* const overlays[] = {"rubber", "beret", "fuse", "hat", "shades"};
    for (int i = 0; i < 5; ++i) {
        const std::string mark = std::to_string(i) + " 0 r";
        writeGrid(std::string(overlays[i]) + "_hero", {mark});
        writeGrid(std::string(overlays[i]) + "_curdo", {std::to_string(i) + " 1 r"});
    }
    writeGrid("key", {"1 1 g"});
    writeGrid("bomb", {"2 2 k"});
    scratch.write("art/goto-colours.txt", "# glow\nw g\n");
    scratch.write("art/images.txt", "us *hero\n");
    ASSERT_EQ(generate(), 0) << scratch.read("log");

    const Pixels us = output(16, "us");
    ASSERT_EQ(us.w, 192);
    ASSERT_EQ(us.h, 96);
    EXPECT_EQ(us.at(48 + 1, 1), 0x00FF00u);    // key icon, column 3 of row 0
    EXPECT_EQ(us.at(48 + 2, 16 + 2), 0u);      // bomb icon, column 3 of row 1
    EXPECT_EQ(us.at(64 + 7, 4), 0xFFFFFFu);    // Normal standing
    EXPECT_EQ(us.at(128 + 7, 4), 0x00FF00u);   // Goto: Normal recoloured
    EXPECT_EQ(us.at(0 + 7, 8), 0xFFFFFFu);     // Curdo
    EXPECT_EQ(us.at(64 + 1, 32 + 0), 0xFF0000u);       // French overlay on Normal
    EXPECT_EQ(us.at(64 + 16 + 1, 32 + 1), 0xFF0000u);  // follows the lower head
    EXPECT_TRUE(us.clear(64 + 16 + 1, 32 + 0));
    EXPECT_EQ(us.at(1, 32 + 1), 0xFF0000u);            // Curdo wears its own
    EXPECT_EQ(us.at(64 + 4, 5 * 16), 0xFF0000u);       // Shaded: sunglasses
    EXPECT_TRUE(us.clear(64 + 0, 0));                  // Normal status wears nothing
}

TEST_F(ArtGenerator, RefusesBrokenSourcesAndSaysWhere) {
    scratch.write("art/images.txt", "bad bad\n");
    scratch.write("art/16/bad.txt", "# a comment\n..r.\n.Zr.\n");
    EXPECT_NE(generate(), 0);
    EXPECT_NE(scratch.read("log").find("bad.txt:3: unknown colour 'Z'"), std::string::npos)
        << scratch.read("log");

    scratch.write("art/16/bad.txt", "..r.\n.r.\n");
    EXPECT_NE(generate(), 0);
    EXPECT_NE(scratch.read("log").find("bad.txt:2: row is 3 wide"), std::string::npos)
        << scratch.read("log");

    scratch.write("art/16/bad.txt", "....\n");
    scratch.write("art/images.txt", "bad bad@1\n");
    EXPECT_NE(generate(), 0);
    EXPECT_NE(scratch.read("log").find("images.txt:1: bad: bad has no frame 1"), std::string::npos)
        << scratch.read("log");

    scratch.write("art/images.txt", "bad bad\nother bad\nbad bad\n");
    EXPECT_NE(generate(), 0);
    EXPECT_NE(scratch.read("log").find("images.txt:3: bad is already made on line 1"),
              std::string::npos)
        << scratch.read("log");

    scratch.write("art/palette.txt", "c 00ffff cyan\n");
    EXPECT_NE(generate(), 0);
    EXPECT_NE(scratch.read("log").find("transparent colour"), std::string::npos)
        << scratch.read("log");

    // A near cyan would read as a hole where the key colour shows through.
    scratch.write("art/palette.txt", "c 10f0e8 almost\n");
    EXPECT_NE(generate(), 0);
    EXPECT_NE(scratch.read("log").find("palette.txt:1: too close to cyan"), std::string::npos)
        << scratch.read("log");
}

namespace {

// A PNG as SDL_image reads it: 0xAARRGGBB pixels, row by row.
struct RgbaPixels {
    int w = 0;
    int h = 0;
    std::vector<Uint32> argb;
};

RgbaPixels readPng(const std::string& path) {
    RgbaPixels p;
    SDL_Surface* loaded = IMG_Load(path.c_str());
    if (!loaded || loaded->format->BytesPerPixel != 4) {
        ADD_FAILURE() << "cannot read " << path << " as RGBA: " << IMG_GetError();
        if (loaded) SDL_FreeSurface(loaded);
        return p;
    }
    p.w = loaded->w;
    p.h = loaded->h;
    SDL_LockSurface(loaded);
    for (int y = 0; y < p.h; ++y)
        for (int x = 0; x < p.w; ++x) {
            Uint8 r = 0, g = 0, b = 0, a = 0;
            SDL_GetRGBA(*reinterpret_cast<Uint32*>(static_cast<Uint8*>(loaded->pixels) +
                                                   y * loaded->pitch + 4 * x),
                        loaded->format, &r, &g, &b, &a);
            p.argb.push_back(Uint32(a) << 24 | Uint32(r) << 16 | Uint32(g) << 8 | b);
        }
    SDL_UnlockSurface(loaded);
    SDL_FreeSurface(loaded);
    return p;
}

}  // namespace

TEST(Icons, TheCommittedIconsAreTheHeroCrispAndCentredOnAClearGround) {
    ScratchDir scratch;
    const std::string command = "'" + buildDir() + "/curdovar-artgen' '" + sourceDir() + "/art' '" +
                                scratch.path() + "/images' --icons '" + scratch.path() + "/icons' > '" +
                                scratch.path() + "/log' 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0) << scratch.read("log");
    // Every colour of the hero standing in his plain form, at both tile sizes.
    std::set<Uint32> heroColours;
    for (const int size : tileSizes) {
        const Pixels sheet = readPixels(shipped(size, "us"));
        for (int y = 0; y < size; ++y)
            for (int x = 4 * size; x < 5 * size; ++x)
                if (!sheet.clear(x, y)) heroColours.insert(sheet.at(x, y));
    }
    ASSERT_GT(heroColours.size(), 4u);
    for (const int size : {16, 24, 32, 48, 64, 128, 256}) {
        SCOPED_TRACE(size);
        const std::string name = "curdovar-" + std::to_string(size) + ".png";
        const RgbaPixels icon = readPng(sourceDir() + "/packaging/icons/" + name);
        ASSERT_EQ(icon.w, size);
        ASSERT_EQ(icon.h, size);
        EXPECT_TRUE(icon.argb == readPng(scratch.path() + "/icons/" + name).argb)
            << name << " differs from the generator's: regenerate with "
            << "curdovar-artgen art data/images --icons packaging/icons";
        int left = size, right = 0, top = size, bottom = 0, strays = 0;
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x) {
                const Uint32 c = icon.argb[static_cast<size_t>(y) * size + x];
                if (c >> 24 == 0) continue;
                // Whole pixels of the hero's own colours: nothing blurred or blended.
                strays += c >> 24 != 0xFF || !heroColours.count(c & 0xFFFFFF);
                left = std::min(left, x), right = std::max(right, x + 1);
                top = std::min(top, y), bottom = std::max(bottom, y + 1);
            }
        EXPECT_EQ(strays, 0);
        EXPECT_GE(bottom - top, size / 2) << "the hero is lost in his icon";
        EXPECT_LE(std::abs(left - (size - right)), 1) << "off centre";
        EXPECT_LE(std::abs(top - (size - bottom)), 1) << "off centre";
    }
}

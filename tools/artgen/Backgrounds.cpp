#include "tools/artgen/Backgrounds.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

namespace {

constexpr int side = backgroundSide;
constexpr double pi = 3.14159265358979323846;

// A small xorshift generator: the same numbers on every platform, unlike rand().
class Random {
public:
    explicit Random(std::uint32_t seed) : state(seed ? seed : 0x9E3779B9u) {}
    std::uint32_t next() {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return state;
    }
    double unit() { return next() / 4294967296.0; }
    int below(int n) { return static_cast<int>(next() % static_cast<std::uint32_t>(n)); }

private:
    std::uint32_t state;
};

int wrap(int v) { return ((v % side) + side) % side; }

double smooth(double t) { return t * t * (3 - 2 * t); }

// Value noise on a lattice that repeats every `side` pixels; fewer cells
// across than down make shapes wider than they are tall.
// A look's picture is wider and taller than `side`: its noise repeats over
// the picture's own width and height.
class Noise {
public:
    Noise(Random& random, int across, int down, int periodX = side, int periodY = side)
        : nx(across), ny(down), px(periodX), py(periodY),
          values(static_cast<size_t>(across) * down) {
        for (double& v : values) v = random.unit();
    }
    double at(double x, double y) const {
        const double fx = x * nx / px, fy = y * ny / py;
        const double cx = std::floor(fx), cy = std::floor(fy);
        const double tx = smooth(fx - cx), ty = smooth(fy - cy);
        const int x0 = static_cast<int>(cx), y0 = static_cast<int>(cy);
        const double a = value(x0, y0), b = value(x0 + 1, y0);
        const double c = value(x0, y0 + 1), d = value(x0 + 1, y0 + 1);
        return (a + (b - a) * tx) + ((c + (d - c) * tx) - (a + (b - a) * tx)) * ty;
    }

private:
    double value(int x, int y) const {
        x = ((x % nx) + nx) % nx;
        y = ((y % ny) + ny) % ny;
        return values[static_cast<size_t>(y) * nx + x];
    }
    int nx;
    int ny;
    int px;
    int py;
    std::vector<double> values;
};

// Several octaves of noise, coarse to fine, each half as strong; 0 to 1.
class Fractal {
public:
    Fractal(std::uint32_t seed, int firstCells, int octaves, int stretch = 1, int periodX = side,
            int periodY = side) {
        Random random(seed);
        // Lattice cells stay square on a picture wider or taller than `side`.
        const int acrossFactor = std::max(1, periodX / side);
        const int downFactor = std::max(1, periodY / side);
        for (int i = 0, cells = firstCells; i < octaves; ++i, cells *= 2)
            layers.emplace_back(random, cells * acrossFactor, cells * stretch * downFactor,
                                periodX, periodY);
    }
    double at(double x, double y) const {
        double sum = 0, weight = 1, total = 0;
        for (const Noise& layer : layers) {
            sum += layer.at(x, y) * weight;
            total += weight;
            weight /= 2;
        }
        return sum / total;
    }

private:
    std::vector<Noise> layers;
};

// 4×4 ordered dither thresholds: soft gradients in a few flat pixel-art tones.
double threshold(int x, int y) {
    static const int bayer[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
    return (bayer[y & 3][x & 3] + 0.5) / 16.0;
}

// Picks from `tones` (dark to light) by t in 0..1, dithering between neighbours.
Colour ramp(const std::vector<Colour>& tones, double t, int x, int y) {
    t = std::clamp(t, 0.0, 1.0) * (tones.size() - 1);
    const int low = std::min(static_cast<int>(t), static_cast<int>(tones.size()) - 1);
    const double part = t - low;
    if (low + 1 < static_cast<int>(tones.size()) && part > threshold(x, y)) return tones[low + 1];
    return tones[low];
}

// From a towards b by t in 0..1, smoothly: for mist, where dithering would
// show as a band of dots.
Colour blend(Colour a, Colour b, double t) {
    t = std::clamp(t, 0.0, 1.0);
    auto channel = [t](int from, int to) {
        return static_cast<int>(std::lround(from + (to - from) * t));
    };
    return rgb(channel(redOf(a), redOf(b)), channel(greenOf(a), greenOf(b)),
               channel(blueOf(a), blueOf(b)));
}

// Distance on the wrapping plane.
double wrappedDistance(double ax, double ay, double bx, double by) {
    double dx = std::fabs(ax - bx), dy = std::fabs(ay - by);
    dx = std::min(dx, side - dx);
    dy = std::min(dy, side - dy);
    return std::sqrt(dx * dx + dy * dy);
}

// Direction of (dx, dy) as a fraction of a full turn, 0 to 1, from an own
// arctangent so the result does not hang on the maths library.
double turnOf(double dx, double dy) {
    const double ax = std::fabs(dx), ay = std::fabs(dy);
    if (ax == 0 && ay == 0) return 0;
    const double r = std::min(ax, ay) / std::max(ax, ay);
    // atan on 0..1, within two thousandths of a radian: plenty for gear teeth.
    double angle = r * (pi / 4) - r * (r - 1) * (0.2447 + 0.0663 * r);
    if (ay > ax) angle = pi / 2 - angle;
    if (dx < 0) angle = pi - angle;
    if (dy < 0) angle = 2 * pi - angle;
    return angle / (2 * pi);
}

// Every tone below is light: the status lines are black text drawn straight
// over the background, so no pixel may be darker than about a mid grey
// (black on it keeps a contrast of 4.5 to 1 or better).

// A band of hills in a landscape. Crests wave about row `top`; bands come far
// to near, each nearer one lower and drawn over the ones behind it.
struct Hills {
    std::uint32_t seed;
    int top;                    // mean crest row
    int amplitude;              // how far the crests rise and fall
    int waves;                  // coarsest waves across the picture
    std::vector<Colour> tones;  // dark to light
    enum Shape { Rolling, Peaks, Trees, Water } shape = Rolling;
    std::vector<Colour> snow = {};  // Peaks: the caps above the snow line
    int snowLine = 0;
    int spread = 1;  // Peaks and trees: how many times wider apart
};

// The crest row of a band at every column.
std::vector<double> crestLine(const Hills& hills, int width) {
    std::vector<double> rows(width);
    const Fractal shape(hills.seed, hills.waves, hills.shape == Hills::Peaks ? 5 : 3, 1, width);
    // Trees and peaks: a row of points of random heights, wrapping round.
    Random random(hills.seed + 7);
    const bool trees = hills.shape == Hills::Trees;
    const double steep = trees ? 2.2 : 0.75;
    std::vector<std::pair<int, int>> crowns;  // centre column, height
    for (int x = random.below(8); x < width - (trees ? 6 : 30);
         x += (trees ? 9 + random.below(9) : 36 + random.below(30)) * hills.spread)
        crowns.emplace_back(x, hills.amplitude / 2 + random.below(hills.amplitude / 2 + 1));
    for (int x = 0; x < width; ++x) {
        const double v = shape.at(x, 0);
        switch (hills.shape) {
            case Hills::Rolling: rows[x] = hills.top - (v - 0.5) * 2.4 * hills.amplitude; break;
            case Hills::Water: rows[x] = hills.top; break;
            case Hills::Peaks:
            case Hills::Trees: {
                double rise = 0;
                for (const auto& crown : crowns) {
                    int dx = std::abs(x - crown.first);
                    dx = std::min(dx, width - dx);
                    rise = std::max(rise, crown.second - dx * steep);
                }
                rows[x] = hills.top - rise - (v - 0.5) * (trees ? 8 : 14);
                break;
            }
        }
    }
    return rows;
}

// Sky from a pale haze at the top row, deepening, and paling again towards
// the horizon; `tones` go from the haze to the deepest blue.
Colour skyAt(const std::vector<Colour>& tones, int horizon, int x, int y) {
    const double along = std::clamp(static_cast<double>(y) / horizon, 0.0, 1.0);
    return ramp(tones, std::sin(pi * along) * 0.75 + along * 0.25, x, y);
}

// A landscape of sky and hills. The nearest band sinks into the haze of the
// sky's top row from `hazeFrom` down, so the bottom edge meets the next copy
// of the top without a seam.
Picture landscape(std::uint32_t seed, const std::vector<Colour>& sky, int horizon,
                  const std::vector<Hills>& bands, int hazeFrom, int width = side,
                  int height = side, bool softClouds = false) {
    Picture out(width, height);
    std::vector<std::vector<double>> crests;
    for (const Hills& hills : bands) crests.push_back(crestLine(hills, width));
    const Fractal grain(seed, 16, 2, 1, width, height);
    const Fractal streaks(seed + 1, 8, 3, 6, width, height);  // water: long thin ripples
    const Fractal cloud(seed + 2, 4, 4, 2, width, height);
    auto across = [width](int x) { return ((x % width) + width) % width; };
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            int band = -1;
            for (size_t b = 0; b < bands.size(); ++b)
                if (y >= crests[b][x]) band = static_cast<int>(b);
            Colour c;
            if (band < 0) {
                c = skyAt(sky, horizon, x, y);
                const double puff = cloud.at(x, y);
                // Soft clouds thin out towards their lowest row instead of ending on a line.
                const double lowest = horizon * 0.6;
                const double thinning =
                    softClouds ? std::max(0.0, (y - lowest * 0.5) / (lowest * 0.5)) * 0.4 : 0;
                if (puff > 0.6 + thinning && y < lowest)
                    c = ramp({sky[0], 0xf4f7f9, 0xfcfdfd}, (puff - 0.6) * 8, x, y);
            } else {
                const Hills& hills = bands[band];
                const std::vector<double>& crest = crests[band];
                const double depth = y - crest[x];
                double t;
                if (hills.shape == Hills::Water) {
                    t = 0.6 - depth / 80 + (streaks.at(x, y) - 0.5) * 1.6;
                    if (depth < 1) t = 1;
                } else {
                    // Lit on slopes that face the top left, darker further down.
                    const double slope = crest[across(x + 2)] - crest[across(x - 2)];
                    t = 0.72 - depth / 110 + (grain.at(x, y) - 0.5) * 0.35;
                    if (depth < 14) t -= slope * 0.05 * (14 - depth) / 14;
                    if (depth < 1.5) t = 1;  // the lit crest
                }
                c = ramp(hills.tones, t, x, y);
                if (!hills.snow.empty()) {
                    const double line = hills.snowLine + (grain.at(x, y) - 0.5) * 10;
                    if (y < line) c = ramp(hills.snow, t + 0.2, x, y);
                }
            }
            if (y >= hazeFrom) c = blend(c, sky[0], (y - hazeFrom + 1.0) / (height - hazeFrom));
            out.set(x, y, c);
        }
    return out;
}

// bg01: a meadow, green hills rolling away under a pale sky with clouds.
Picture meadow() {
    Picture out = landscape(1101, {0xeaf2ee, 0xd8e8f0, 0xc6dcf0, 0xb6d2ee}, 140,
                            {{1102, 128, 20, 3, {0xa9c4bd, 0xb5cec4, 0xc2d8cc}},
                             {1103, 160, 22, 2, {0x98c08a, 0xa6ca94, 0xb4d4a0}},
                             {1104, 192, 14, 3, {0x86b676, 0x94c082, 0xa2ca8e, 0xb0d49a}}},
                            214);
    // Flowers dotted over the nearest slope.
    Random random(1105);
    const Colour petals[] = {0xf6d0dc, 0xfbf3b0, 0xfdfdfb};
    for (int i = 0; i < 70; ++i) {
        const int x = random.below(side), y = 200 + random.below(12);
        const Colour under = out.at(x, y);
        if (greenOf(under) > redOf(under) + 30) out.set(x, y, petals[random.below(3)]);
    }
    return out;
}

// bg02: a cavern wall of pale rounded rock, hollows going deeper and a few
// small crystals glinting in them.
Picture caverns() {
    Picture out(side, side);
    const Fractal rock(1201, 4, 5);
    const Fractal depth(1204, 3, 3);  // smooth outlines for the hollows
    const Fractal grain(1202, 16, 3);
    const std::vector<Colour> tones = {0x9c8e96, 0xaa9ca2, 0xb8abae, 0xc6babb, 0xd2c8c6};
    const std::vector<Colour> hollow = {0x90869a, 0x988ea0, 0xa298a6};
    std::vector<std::pair<int, int>> deepest;
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x) {
            const double d = depth.at(x, y);
            if (d < 0.33) {
                // Darker further in, under a shadowed lip along the top.
                const bool lip = d > 0.325 || depth.at(x, y - 2) >= 0.33;
                out.set(x, y, lip ? 0x887e8c
                                  : ramp(hollow, (d - 0.22) * 9 + (grain.at(x, y) - 0.5) * 0.3,
                                         x, y));
                if (d < 0.28 && (x * 7 + y * 13) % 89 == 0) deepest.emplace_back(x, y);
                continue;
            }
            const double v = rock.at(x, y);
            const double lit = (v - rock.at(x + 3, y + 3)) * 6 + 0.5;
            out.set(x, y, ramp(tones, 0.3 + lit * 0.4 + (grain.at(x, y) - 0.5) * 0.3 +
                                          (d - 0.33) * 0.6,
                               x, y));
        }
    // Crystals: a few small pale diamonds deep in the hollows, lit on their upper left.
    Random random(1203);
    for (size_t i = 0; i < deepest.size() && i < 60; i += 2 + random.below(4)) {
        const int cx = deepest[i].first, cy = deepest[i].second;
        for (int dy = -3; dy <= 3; ++dy)
            for (int dx = -2; dx <= 2; ++dx) {
                if (std::abs(dx) * 3 + std::abs(dy) * 2 > 6) continue;
                const Colour c = dx < 0 || dy < -1 ? 0xece2fa : (dx == 0 ? 0xd6c4ee : 0xc4aee4);
                out.set(wrap(cx + dx), wrap(cy + dy), c);
            }
    }
    return out;
}

// bg03: a factory hall, pale riveted steel panels, windows onto the sky and
// a pipe with striped collars.
Picture factory() {
    Picture out(side, side);
    const Fractal grime(1301, 8, 3);
    const std::vector<Colour> panel = {0xaab2bc, 0xb6bdc6, 0xc2c8d0, 0xccd2d8};
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x) {
            const int px = x % 64, py = y % 64;
            Colour c = ramp(panel, 0.5 + (grime.at(x, y) - 0.5) * 1.2, x, y);
            if (px == 0 || py == 0) c = 0x8e96a0;                            // seams
            else if (px == 1 || py == 1) c = 0xdce0e6;                       // lit edge
            else if ((px == 5 || px == 59) && (py == 5 || py == 59)) c = 0x959da8;  // rivets
            else if ((px == 4 || px == 58) && (py == 4 || py == 58)) c = 0xe4e8ec;
            out.set(x, y, c);
        }
    for (int w = 0; w < 4; ++w) {
        const int left = w * 64 + 18, top = 14;
        for (int y = top - 2; y < top + 22; ++y)
            for (int x = left - 2; x < left + 30; ++x) {
                const bool frame = y < top || y >= top + 20 || x < left || x >= left + 28 ||
                                   x == left + 13 || x == left + 14 || y == top + 9;
                const int glint = (x - left) + (y - top);
                Colour c = frame ? 0x8c949e : ramp({0xcfe2f0, 0xdcebf5}, (y - top) / 20.0, x, y);
                if (!frame && (glint == 12 || glint == 13 || glint == 28)) c = 0xf2f7fb;
                out.set(x, y, c);
            }
    }
    const std::vector<Colour> pipe = {0x9aa2ac, 0xb0b8c0, 0xc6ccd2, 0xdadee2};
    for (int y = 150; y < 170; ++y)
        for (int x = 0; x < side; ++x) {
            const double across = (y - 150) / 19.0;
            Colour c = ramp(pipe, 1 - std::fabs(across - 0.3) * 1.5, x, y);
            if (x % 64 < 6) c = ((x + y) / 3) % 2 ? 0xe6d68e : 0xb2b8c0;  // striped collars
            if (y == 150 || y == 169) c = 0x8c949e;
            out.set(x, y, c);
        }
    return out;
}

// bg04: a glacier, faceted pale ice with fine cracks and glinting edges.
Picture glacier() {
    Picture out(side, side);
    Random random(1801);
    std::vector<std::pair<double, double>> seeds;
    for (int i = 0; i < 28; ++i) seeds.emplace_back(random.unit() * side, random.unit() * side);
    std::vector<double> shade;
    for (size_t i = 0; i < seeds.size(); ++i) shade.push_back(random.unit());
    const std::vector<Colour> tones = {0xb4cce0, 0xc0d6e8, 0xcce0ee, 0xd8e8f4};
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x) {
            double best = 1e9, second = 1e9;
            size_t nearest = 0;
            for (size_t i = 0; i < seeds.size(); ++i) {
                const double d = wrappedDistance(x, y, seeds[i].first, seeds[i].second);
                if (d < best) {
                    second = best;
                    best = d;
                    nearest = i;
                } else if (d < second) {
                    second = d;
                }
            }
            const double edge = second - best;
            // Light falls from the top: the facet's upper part is brighter.
            double above = seeds[nearest].second - y;
            if (above > side / 2) above -= side;
            if (above < -side / 2) above += side;
            const double t = shade[nearest] * 0.6 + 0.2 + above / 160.0;
            Colour c = ramp(tones, t, x, y);
            if (edge < 1.0) c = nearest % 4 == 0 ? 0x90acc8 : 0xa2bcd4;  // cracks and seams
            else if (edge < 2.5) c = 0xeaf3fa;                        // glinting edge
            out.set(x, y, c);
        }
    return out;
}

// bg05: a fortress wall of big pale blocks with arched windows onto the sky.
Picture fortress() {
    Picture out(side, side);
    const Fractal weather(1401, 8, 3);
    const std::vector<Colour> stone = {0xb4aca4, 0xc0b8ae, 0xccc4ba, 0xd6d0c6};
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x) {
            const int course = y / 16;
            const int bx = (x + (course % 2) * 16) % 32, by = y % 16;
            Colour c = ramp(stone, 0.5 + (weather.at(x, y) - 0.5) * 1.1, x, y);
            if (bx == 31 || by == 15) c = 0x9c948c;
            else if (bx == 0 || by == 0) c = 0xe2dcd2;
            out.set(x, y, c);
        }
    const int centres[2][2] = {{64, 72}, {192, 200}};
    for (const auto& centre : centres) {
        const int cx = centre[0], base = centre[1];
        for (int y = base - 44; y <= base + 2; ++y)
            for (int x = cx - 12; x <= cx + 12; ++x) {
                const int dx = x - cx, dy = y - (base - 32);
                const bool inArch = dy >= 0 ? std::abs(dx) <= 8 && y <= base
                                            : dx * dx + dy * dy <= 64;
                const bool inFrame = dy >= 0 ? std::abs(dx) <= 10 && y <= base + 2
                                             : dx * dx + dy * dy <= 100;
                if (inArch)
                    out.set(wrap(x), wrap(y),
                            ramp({0xc4d8ea, 0xd2e2f0, 0xe0ecf5}, (y - base + 40) / 44.0, x, y));
                else if (inFrame)
                    out.set(wrap(x), wrap(y), dx < 0 || dy < -6 ? 0xa0988e : 0x928a82);
            }
    }
    return out;
}

// bg06: a beach, the sea along the horizon and pale dunes in front.
Picture beach() {
    Hills sea{1601, 118, 0, 1, {0x98c6d2, 0xa8d0da, 0xb8dae2, 0xcae4ea}};
    sea.shape = Hills::Water;
    return landscape(1602, {0xf6eee0, 0xe6eef0, 0xd2e4ee, 0xc0daec}, 118,
                     {sea,
                      {1603, 160, 14, 2, {0xd4be92, 0xdec9a0, 0xe8d6b0}},
                      {1604, 196, 18, 3, {0xcab082, 0xd6bd90, 0xe0c99e, 0xead6ae}}},
                     226);
}

// bg07: a forest, rows of fir trees paling into the mist behind each other.
Picture forest() {
    Hills far{1701, 112, 30, 3, {0xb4ceb8, 0xc0d8c2, 0xcce0cc}};
    Hills middle{1702, 152, 36, 3, {0x9cc0a0, 0xa8caac, 0xb4d4b6}};
    Hills near{1703, 196, 42, 3, {0x88b48e, 0x94be98, 0xa0c8a4, 0xacd2ae}};
    far.shape = middle.shape = near.shape = Hills::Trees;
    return landscape(1704, {0xeef2e6, 0xe0ecd8, 0xd2e4d0}, 110, {far, middle, near}, 228);
}

// bg08: the open sky, soft banks of cloud and a few far birds.
Picture cloudySky() {
    Picture out(side, side);
    const Fractal cloud(1101, 4, 4, 2);  // twice the cells down: flat, wide clouds
    const std::vector<Colour> sky = {0xa4c4e8, 0xb0cdee};
    const std::vector<Colour> puff = {0xc4d2ec, 0xd8e2f4, 0xecf1fa};
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x) {
            const double v = cloud.at(x, y);
            if (v < 0.55) {
                out.set(x, y, ramp(sky, 0.5 - (0.55 - v) * 2, x, y));
                continue;
            }
            // Brighter where the cloud thins towards the light.
            const double lit = (v - cloud.at(x + 4, y + 4)) * 8 + 0.5;
            out.set(x, y, ramp(puff, lit * 0.8 + (v - 0.55) * 2, x, y));
        }
    // Birds: a flat V of a few pixels each.
    const int birds[][2] = {{40, 30}, {52, 36}, {47, 24}, {170, 96}, {181, 90}, {120, 200}};
    for (const auto& bird : birds)
        for (int dx = -3; dx <= 3; ++dx) {
            const int lift = std::abs(dx) == 3 ? 1 : (std::abs(dx) == 0 ? 0 : -1);
            out.set(wrap(bird[0] + dx), wrap(bird[1] - lift + (dx == 0)), 0x7a8fae);
        }
    return out;
}

// bg09: the mountains, snow-capped peaks behind peaks over an alpine pasture.
Picture mountains() {
    Hills far{1901, 112, 56, 3, {0xbcc2d8, 0xc8cee2, 0xd4d8ea}};
    Hills near{1902, 160, 50, 2, {0x9ea4ba, 0xaab0c4, 0xb6bcce}};
    far.shape = near.shape = Hills::Peaks;
    far.snow = {0xe6eaf2, 0xf4f6fa};
    far.snowLine = 94;
    near.snow = {0xdce2ea, 0xeceff5};
    near.snowLine = 126;
    return landscape(1903, {0xeef2f6, 0xdde6f0, 0xcbd9ec, 0xbacde6}, 110,
                     {far, near, {1904, 198, 10, 3, {0x9cc48c, 0xaacf98, 0xb8d8a6}}}, 224);
}

// bg00: clockwork, bronze gears turning on a cream plate.
Picture clockwork() {
    Picture out(side, side);
    const Fractal patina(1001, 8, 3);
    const std::vector<Colour> plate = {0xd6cab2, 0xded3be, 0xe6ddca};
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x) out.set(x, y, ramp(plate, patina.at(x, y), x, y));
    struct Gear {
        double x, y, radius;
        int teeth;
    };
    const Gear gears[] = {{60, 60, 46, 12}, {150, 120, 34, 9},   {220, 40, 26, 8},
                          {70, 190, 30, 8}, {190, 220, 40, 10}, {128, 10, 16, 6}};
    const std::vector<Colour> bronze = {0xbca070, 0xc8ae80, 0xd4bc90, 0xe0caa2};
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x)
            for (const Gear& g : gears) {
                double dx = x - g.x, dy = y - g.y;
                if (dx > side / 2) dx -= side;
                if (dx < -side / 2) dx += side;
                if (dy > side / 2) dy -= side;
                if (dy < -side / 2) dy += side;
                const double r = std::sqrt(dx * dx + dy * dy);
                const double tooth = std::fmod(turnOf(dx, dy) * g.teeth, 1.0);
                const double outer = tooth < 0.5 ? g.radius : g.radius - 6;
                if (r > outer) continue;
                if (r < g.radius * 0.22) {
                    out.set(x, y, r < g.radius * 0.12 ? 0xa2967e : 0xb4a484);  // axle and hub
                    continue;
                }
                double t = 0.55 - (dx + dy) / (g.radius * 3);  // lit from the top left
                Colour c = ramp(bronze, t, x, y);
                if (r > outer - 1.5) c = 0xa68c60;
                else if (r > g.radius * 0.55 && r < g.radius * 0.62) c = 0xb09468;  // inner ring
                out.set(x, y, c);
            }
    return out;
}

// The worlds' backgrounds. Each is one picture for both tile sizes, drawn
// from the top of the level down at a sixth of the view's speed, so it runs
// from the sky at the top to the ground at the bottom instead of repeating;
// across, it wraps over its own width.
constexpr int lookWidth = 512;  // pixels: wide enough that a 640-pixel view shows little repeat

int across(int x) { return ((x % lookWidth) + lookWidth) % lookWidth; }

// Levels 1-5: hills rolling away under a sky with clouds, flowers near by.
Picture meadowLook(int height) {
    Picture out = landscape(2101, {0xeef4f0, 0xdceaf2, 0xcae0f2, 0xbad4ee}, 330,
                            {{2102, 300, 30, 3, {0xaec8c0, 0xbad2c8, 0xc6dcd0}},
                             {2103, 360, 34, 2, {0x9cc28c, 0xaacc98, 0xb8d6a4}},
                             {2104, 430, 26, 3, {0x8ab87a, 0x98c286, 0xa6cc92, 0xb4d69e}}},
                            height, lookWidth, height, true);
    Random random(2105);
    const Colour petals[] = {0xf6d0dc, 0xfbf3b0, 0xfdfdfb};
    for (int i = 0; i < 600; ++i) {
        const int x = random.below(lookWidth), y = 440 + random.below(height - 440);
        const Colour under = out.at(x, y);
        if (greenOf(under) > redOf(under) + 30) out.set(x, y, petals[random.below(3)]);
    }
    return out;
}

// Levels 6-11: snowy peaks behind peaks over an alpine pasture.
Picture alpsLook(int height) {
    Hills far{2201, 260, 130, 3, {0xbcc4dc, 0xc8d0e4, 0xd4daec}};
    Hills near{2202, 350, 90, 2, {0xa2aac2, 0xaeb6cc, 0xbac2d6}};
    far.shape = near.shape = Hills::Peaks;
    far.spread = 3;
    near.spread = 2;
    far.snow = {0xe8ecf4, 0xf6f8fb};
    far.snowLine = 200;
    near.snowLine = 290;
    near.snow = {0xdee4ee, 0xeef1f6};
    Hills pasture{2203, 440, 16, 3, {0xa0c890, 0xaed29c, 0xbcdaa8}};
    return landscape(2204, {0xf2f5f9, 0xdfe8f2, 0xcbdaee, 0xb8cce8}, 260, {far, near, pasture},
                     height, lookWidth, height, true);
}

// Levels 12-15: inside the fortress, a wall of big pale blocks with arched
// windows, battlements against the sky at the top.
Picture fortressLook(int height) {
    Picture out(lookWidth, height);
    constexpr int skyRows = 96;     // open sky above the battlements
    constexpr int merlon = 32;      // width of a merlon and of a gap between two
    constexpr int merlonRows = 24;  // their height above the wall walk
    constexpr int course = 24;      // one course of blocks
    constexpr int block = 64;       // a whole number of blocks across, so the courses wrap
    const Fractal weather(2301, 8, 3, 1, lookWidth, height);
    const std::vector<Colour> stone = {0xb6aea4, 0xc2bab0, 0xcec6bc, 0xd8d2c8};
    const std::vector<Colour> sky = {0xeef2f6, 0xdde6f0, 0xccdcee};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < lookWidth; ++x) {
            const bool merlonHere = (x / merlon) % 2 == 0 && y >= skyRows - merlonRows;
            if (y < skyRows && !merlonHere) {
                out.set(x, y, ramp(sky, static_cast<double>(y) / skyRows, x, y));
                continue;
            }
            const int row = (y - (skyRows - merlonRows)) / course;
            const int bx = across(x + (row % 2) * block / 2) % block;
            const int by = (y - (skyRows - merlonRows)) % course;
            Colour c = ramp(stone, 0.5 + (weather.at(x, y) - 0.5) * 1.1, x, y);
            if (bx == block - 1 || by == course - 1) c = 0xa0988e;
            else if (bx == 0 || by == 0) c = 0xe4ded4;
            if (y < skyRows && (x % merlon == merlon - 1)) c = 0xa0988e;
            out.set(x, y, c);
        }
    // Arched windows onto the sky, two rows of them staggered.
    for (int row = 0; row * 200 + 220 < height - 40; ++row)
        for (int cx = 64 + (row % 2) * 128; cx < lookWidth; cx += 256) {
            const int base = row * 200 + 260;
            for (int y = base - 56; y <= base + 3; ++y)
                for (int x = cx - 16; x <= cx + 16; ++x) {
                    const int dx = x - cx, dy = y - (base - 40);
                    const bool inArch =
                        dy >= 0 ? std::abs(dx) <= 11 && y <= base : dx * dx + dy * dy <= 121;
                    const bool inFrame =
                        dy >= 0 ? std::abs(dx) <= 14 && y <= base + 3 : dx * dx + dy * dy <= 196;
                    if (inArch)
                        out.set(across(x), y,
                                ramp({0xc6daec, 0xd4e4f2, 0xe2eef6}, (y - base + 52) / 56.0, x, y));
                    else if (inFrame)
                        out.set(across(x), y, dx < 0 || dy < -8 ? 0xa29a90 : 0x948c84);
                }
        }
    return out;
}

// Levels 16-17: the sea along the horizon, a sunlit beach of dunes in front.
Picture beachLook(int height) {
    Hills sea{2401, 300, 0, 1, {0x9ac8d4, 0xaad2dc, 0xbadce4, 0xcce6ec}};
    sea.shape = Hills::Water;
    return landscape(2402, {0xf8f0e2, 0xe8f0f2, 0xd4e6f0, 0xc2dcee}, 300,
                     {sea,
                      {2403, 380, 20, 2, {0xd6c094, 0xe0cba2, 0xead8b2}},
                      {2404, 450, 24, 3, {0xccb284, 0xd8bf92, 0xe2cba0, 0xecd8b0}}},
                     height, lookWidth, height, true);
}

// Levels 18-19: a mine, pale rock held up by timber frames, lanterns on the posts.
Picture mineLook(int height) {
    Picture out(lookWidth, height);
    constexpr int frameApart = 256;  // pixels between two timber frames
    constexpr int beamRows = 12;
    constexpr int postWidth = 14;
    const Fractal rock(2501, 4, 5, 1, lookWidth, height);
    const Fractal grain(2502, 16, 3, 1, lookWidth, height);
    const std::vector<Colour> tones = {0xa8988a, 0xb6a696, 0xc2b4a4, 0xcec2b2, 0xd8cebe};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < lookWidth; ++x) {
            const double v = rock.at(x, y);
            const double lit = (v - rock.at(x + 3, y + 3)) * 6 + 0.5;
            out.set(x, y, ramp(tones, 0.25 + lit * 0.45 + (grain.at(x, y) - 0.5) * 0.3, x, y));
        }
    const std::vector<Colour> wood = {0xa88a6c, 0xb89a7a, 0xc6aa88};
    for (int frame = 0; frame < lookWidth / frameApart; ++frame) {
        const int left = frame * frameApart + 48, right = left + 160;
        for (int storey = 0; storey * 220 + 120 < height; ++storey) {
            const int top = storey * 220 + 120, bottom = top + 220;
            for (int y = top; y < bottom && y < height; ++y)
                for (int x = left; x <= right + postWidth; ++x) {
                    const bool beam = y < top + beamRows;
                    const bool post = x < left + postWidth || x > right;
                    if (!beam && !post) continue;
                    const double t = beam ? 1 - (y - top) / double(beamRows)
                                          : 1 - ((x - left) % (right - left)) / double(postWidth);
                    Colour c = ramp(wood, t, x, y);
                    if ((beam && (y == top || y == top + beamRows - 1)) ||
                        (!beam && ((x - left) % (right - left) == 0 ||
                                   x == left + postWidth - 1 || x == right + postWidth)))
                        c = 0x94785c;
                    out.set(across(x), y, c);
                }
            // A lantern hanging from the beam's middle, glowing softly.
            const int lx = (left + right + postWidth) / 2, ly = top + beamRows + 14;
            for (int y = ly - 22; y <= ly + 22; ++y)
                for (int x = lx - 22; x <= lx + 22; ++x) {
                    const double d = std::hypot(x - lx, y - ly);
                    if (d < 22 && y < height)
                        out.set(across(x), y, blend(out.at(across(x), y), 0xf6e6b4, (22 - d) / 30));
                }
            for (int y = top + beamRows; y < ly - 5; ++y) out.set(across(lx), y, 0x94785c);
            for (int y = ly - 5; y <= ly + 5; ++y)
                for (int x = lx - 3; x <= lx + 3; ++x)
                    out.set(across(x), y,
                            std::abs(x - lx) == 3 || std::abs(y - ly) == 5 ? 0x9c8262 : 0xfff2c0);
        }
    }
    return out;
}

// Levels 20-23: up the clock tower, bronze gears turning on a cream plate
// and the great clock face near the top.
Picture clockTowerLook(int height) {
    Picture out(lookWidth, height);
    const Fractal patina(2601, 8, 3, 1, lookWidth, height);
    const std::vector<Colour> plate = {0xd8ccb4, 0xe0d5c0, 0xe8dfcc};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < lookWidth; ++x) out.set(x, y, ramp(plate, patina.at(x, y), x, y));
    struct Gear {
        double x, y, radius;
        int teeth;
    };
    std::vector<Gear> gears;
    Random random(2602);
    constexpr double faceX = 320, faceY = 190, faceRadius = 120;
    for (int y = 40; y < height + 40; y += 110)
        for (int x = random.below(80); x < lookWidth - 40; x += 140 + random.below(90)) {
            const Gear gear{double(x), double(y + random.below(50)), 24.0 + random.below(26),
                            7 + random.below(6)};
            // None behind the clock face.
            if (std::hypot(gear.x - faceX, gear.y - faceY) > faceRadius + gear.radius + 6)
                gears.push_back(gear);
        }
    const std::vector<Colour> bronze = {0xbea272, 0xcab082, 0xd6be92, 0xe2cca4};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < lookWidth; ++x)
            for (const Gear& g : gears) {
                double dx = x - g.x, dy = y - g.y;
                if (dx > lookWidth / 2) dx -= lookWidth;
                if (dx < -lookWidth / 2) dx += lookWidth;
                const double r = std::sqrt(dx * dx + dy * dy);
                if (r > g.radius) continue;
                const double tooth = std::fmod(turnOf(dx, dy) * g.teeth, 1.0);
                const double outer = tooth < 0.5 ? g.radius : g.radius - 6;
                if (r > outer) continue;
                if (r < g.radius * 0.22) {
                    out.set(x, y, r < g.radius * 0.12 ? 0xa4987e : 0xb6a686);
                    continue;
                }
                Colour c = ramp(bronze, 0.55 - (dx + dy) / (g.radius * 3), x, y);
                if (r > outer - 1.5) c = 0xa88e62;
                else if (r > g.radius * 0.55 && r < g.radius * 0.62) c = 0xb2966a;
                out.set(x, y, c);
            }
    // The clock face: a pale dial with twelve marks and hands at ten to two.
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < lookWidth; ++x) {
            const double dx = x - faceX, dy = y - faceY, r = std::hypot(dx, dy);
            if (r > faceRadius) continue;
            Colour c = ramp({0xeee6d4, 0xf6f0e2}, 1 - r / faceRadius, x, y);
            if (r > faceRadius - 8) c = r > faceRadius - 2 ? 0xa88e62 : ramp(bronze, 0.6, x, y);
            const double turn = turnOf(dx, dy) * 12;
            if (r > faceRadius - 24 && r < faceRadius - 12 &&
                std::fabs(turn - std::round(turn)) * r * 2 * pi / 12 < 2.5)
                c = 0x9c8a6c;
            out.set(x, y, c);
        }
    auto hand = [&](double turn, double length, double half) {
        const double ux = std::sin(turn * 2 * pi), uy = -std::cos(turn * 2 * pi);
        for (double t = -8; t < length; t += 0.5)
            for (double w = -half; w <= half; w += 0.5)
                out.set(int(faceX + ux * t - uy * w), int(faceY + uy * t + ux * w), 0x8e7e64);
    };
    hand(10 / 12.0, 64, 3);
    hand(2 / 12.0, 96, 2);
    return out;
}

// The menu: a bright sky with the game's name drawn over it in fat outlined
// curd-yellow letters built from strokes. The menu opens on the same cells at
// both tile sizes but the picture is not scaled, so the name stands where
// both first views have open sky: right of the status lines and above the
// signs on the road (three rows of 16 pixels), within the 320-pixel width
// of the small view.
Picture titleLook(int height) {
    Picture out = landscape(2701, {0xf2f6fa, 0xe0ecf6, 0xcee0f2, 0xbed6ee}, 380,
                            {{2702, 400, 22, 3, {0xb2cec4, 0xbed8cc, 0xcae0d4}},
                             {2703, 452, 18, 2, {0xa2c892, 0xb0d29e, 0xbedaaa}}},
                            height, lookWidth * 3 / 2, height, true);
    // Each letter's strokes on a grid 3 wide and 6 high, as (x0, y0, x1, y1),
    // and how far the pen moves on after it.
    struct Stroke {
        double x0, y0, x1, y1;
    };
    struct Letter {
        char name;
        double advance;
        std::vector<Stroke> strokes;
    };
    const std::vector<Letter> letters = {
        {'C', 4.3, {{3, 0.6, 1, 0}, {1, 0, 0, 1.5}, {0, 1.5, 0, 4.5}, {0, 4.5, 1, 6}, {1, 6, 3, 5.4}}},
        {'u', 4.3, {{0, 2, 0, 5}, {0, 5, 1, 6}, {1, 6, 3, 5.4}, {3, 2, 3, 6}}},
        {'r', 3.7, {{0, 2, 0, 6}, {0, 3.2, 1.4, 2}, {1.4, 2, 2.8, 2.2}}},
        {'d', 4.3, {{3, 0, 3, 6}, {3, 2.6, 1.5, 2}, {1.5, 2, 0, 3}, {0, 3, 0, 5}, {0, 5, 1.5, 6},
                    {1.5, 6, 3, 5.4}}},
        {'o', 4.3, {{1.5, 2, 0, 3}, {0, 3, 0, 5}, {0, 5, 1.5, 6}, {1.5, 6, 3, 5}, {3, 5, 3, 3},
                    {3, 3, 1.5, 2}}},
        {'v', 4.3, {{0, 2, 1.5, 6}, {1.5, 6, 3, 2}}},
        {'a', 4.3, {{0.3, 2.4, 1.5, 2}, {1.5, 2, 3, 2.6}, {3, 2.6, 3, 6}, {3, 3.8, 1, 3.8},
                    {1, 3.8, 0, 4.8}, {0, 4.8, 1, 6}, {1, 6, 3, 5.4}}},
        {' ', 1.6, {}},
        // Roman capitals with serifs, so the two read as a numeral and not as "ll".
        {'I', 3.0, {{1, 0, 1, 6}, {0, 0, 2, 0}, {0, 6, 2, 6}}}};
    const std::string word = "Curdovar II";
    constexpr double unit = 4.4;     // pixels per grid step
    constexpr double thick = 2.6;    // half a stroke's width, pixels
    constexpr double outline = 1.4;  // the dark rim round each stroke, pixels
    constexpr double shadowShift = 2;
    constexpr double left = 134, top = 8;
    double pen = left;
    std::vector<Stroke> placed;  // in pixels
    for (const char c : word)
        for (const Letter& letter : letters) {
            if (letter.name != c) continue;
            for (const Stroke& s : letter.strokes)
                placed.push_back({pen + s.x0 * unit, top + s.y0 * unit, pen + s.x1 * unit,
                                  top + s.y1 * unit});
            pen += letter.advance * unit;
            break;
        }
    auto nearest = [&placed](double px, double py) {
        double best = 1e9;
        for (const Stroke& s : placed) {
            const double vx = s.x1 - s.x0, vy = s.y1 - s.y0, length = vx * vx + vy * vy;
            const double t =
                length > 0 ? std::clamp(((px - s.x0) * vx + (py - s.y0) * vy) / length, 0.0, 1.0)
                           : 0;
            best = std::min(best, std::hypot(px - s.x0 - t * vx, py - s.y0 - t * vy));
        }
        return best;
    };
    const std::vector<Colour> curd = {0xeec858, 0xf5d865, 0xfae48a, 0xfff0b0};
    const double reach = thick + outline + shadowShift + 1;
    for (int y = int(top - reach); y < int(top + 6 * unit + reach); ++y)
        for (int x = int(left - reach); x < int(pen + reach); ++x) {
            const double d = nearest(x, y);
            if (d <= thick) {
                // Lit from the top: paler towards the letters' tops and their middle line.
                const double light = 0.9 - (y - top) / (6 * unit) * 0.6;
                out.set(x, y, ramp(curd, light + (d < thick * 0.4 ? 0.15 : 0), x, y));
            } else if (d <= thick + outline) {
                out.set(x, y, 0xc08a3c);
            } else if (nearest(x - shadowShift, y - shadowShift) <= thick + outline) {
                out.set(x, y, blend(out.at(x, y), 0x9aa8bc, 0.35));
            }
        }
    return out;
}

}  // namespace

bool makeLookBackground(const std::string& look, int height, Picture& out) {
    if (look == "meadow") out = meadowLook(height);
    else if (look == "alps") out = alpsLook(height);
    else if (look == "fortress") out = fortressLook(height);
    else if (look == "beach") out = beachLook(height);
    else if (look == "mine") out = mineLook(height);
    else if (look == "clocktower") out = clockTowerLook(height);
    else if (look == "title") out = titleLook(height);
    else return false;
    return true;
}

Picture makeBackground(int index) {
    switch (index) {
        case 0: return clockwork();
        case 1: return meadow();
        case 2: return caverns();
        case 3: return factory();
        case 4: return glacier();
        case 5: return fortress();
        case 6: return beach();
        case 7: return forest();
        case 8: return cloudySky();
        default: return mountains();
    }
}

#include "tools/artgen/Backgrounds.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
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
class Noise {
public:
    Noise(Random& random, int across, int down)
        : nx(across), ny(down), values(static_cast<size_t>(across) * down) {
        for (double& v : values) v = random.unit();
    }
    double at(double x, double y) const {
        const double fx = x * nx / side, fy = y * ny / side;
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
    std::vector<double> values;
};

// Several octaves of noise, coarse to fine, each half as strong; 0 to 1.
class Fractal {
public:
    Fractal(std::uint32_t seed, int firstCells, int octaves, int stretch = 1) {
        Random random(seed);
        for (int i = 0, cells = firstCells; i < octaves; ++i, cells *= 2)
            layers.emplace_back(random, cells, cells * stretch);
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

// bg00: a night sky, violet haze and a scatter of dim stars.
Picture starryNight() {
    Picture out(side, side);
    const Fractal haze(1001, 4, 4);
    const std::vector<Colour> tones = {0x1d1836, 0x241e44, 0x2c2552, 0x352c5e};
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x) out.set(x, y, ramp(tones, haze.at(x, y) * 1.3 - 0.15, x, y));
    Random random(1002);
    for (int i = 0; i < 90; ++i) {
        const int x = random.below(side), y = random.below(side);
        const bool bright = random.below(6) == 0;
        out.set(x, y, bright ? 0x9c94c8 : 0x5e5690);
        if (bright) {
            for (const auto& d : {std::pair<int, int>{1, 0}, {-1, 0}, {0, 1}, {0, -1}})
                out.set(wrap(x + d.first), wrap(y + d.second), 0x4a4278);
        }
    }
    return out;
}

// bg01: a pale sky with soft banks of cloud lit from the top left.
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
    return out;
}

// bg02: a cave wall of dark rock with openings onto a glowing depth.
Picture cave() {
    Picture out(side, side);
    const Fractal rock(1201, 4, 5);
    const Fractal grain(1202, 16, 3);
    const std::vector<Colour> tones = {0x2a1f2b, 0x3a2a34, 0x4a3640, 0x5a4448};
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x) {
            const double v = rock.at(x, y);
            if (v < 0.34) continue;  // an opening: the level's colour shows
            const double rim = std::min(1.0, (v - 0.34) / 0.04);
            const double lit = (v - rock.at(x + 3, y + 3)) * 6 + 0.5;
            double t = 0.35 + lit * 0.35 + (grain.at(x, y) - 0.5) * 0.4;
            if (rim < 1) t = 0;  // a dark lip round each opening
            out.set(x, y, ramp(tones, t, x, y));
        }
    return out;
}

// bg03: a factory wall, riveted panels, a pipe and lit windows.
Picture factory() {
    Picture out(side, side);
    const Fractal grime(1301, 8, 3);
    const std::vector<Colour> panel = {0x2f3440, 0x383e4c, 0x424a58};
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x) {
            const int px = x % 64, py = y % 64;
            double t = 0.5 + (grime.at(x, y) - 0.5) * 0.9;
            if (px == 0 || py == 0) t = 0;                  // seams
            else if (px == 1 || py == 1) t = 1;             // lit edge of each panel
            else if ((px == 5 || px == 59) && (py == 5 || py == 59)) t = 1;  // rivets
            out.set(x, y, ramp(panel, t, x, y));
        }
    // Windows in a row, the level's colour shining through.
    for (int w = 0; w < 4; ++w) {
        const int left = w * 64 + 18, top = 14;
        for (int y = top - 2; y < top + 22; ++y)
            for (int x = left - 2; x < left + 30; ++x) {
                const bool frame = y < top || y >= top + 20 || x < left || x >= left + 28 ||
                                   x == left + 13 || x == left + 14 || y == top + 9;
                out.set(x, y, frame ? 0x20242c : clear);
            }
    }
    // A horizontal pipe across the lower half, shaded as a cylinder.
    const std::vector<Colour> pipe = {0x262a32, 0x4a4e58, 0x5e626c, 0x6c707a};
    for (int y = 150; y < 170; ++y)
        for (int x = 0; x < side; ++x) {
            const double across = (y - 150) / 19.0;
            double t = 1 - std::fabs(across - 0.3) * 1.5;
            if (x % 64 < 4) t += 0.2;  // collars
            out.set(x, y, y == 150 || y == 169 ? 0x1c1f26 : ramp(pipe, t, x, y));
        }
    return out;
}

// bg04: a fortress wall of big blocks with arched windows.
Picture fortress() {
    Picture out(side, side);
    const Fractal weather(1401, 8, 3);
    const std::vector<Colour> stone = {0x3a3440, 0x463e4a, 0x524854, 0x5c525c};
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x) {
            const int course = y / 16;
            const int bx = (x + (course % 2) * 16) % 32, by = y % 16;
            double t = 0.45 + (weather.at(x, y) - 0.5) * 0.8;
            if (bx == 31 || by == 15) t = 0;
            else if (bx == 0 || by == 0) t = 0.95;
            out.set(x, y, ramp(stone, t, x, y));
        }
    // Two arched windows per tile, offset between rows for a staggered look.
    const int centres[2][2] = {{64, 72}, {192, 200}};
    for (const auto& c : centres) {
        const int cx = c[0], base = c[1];
        for (int y = base - 44; y <= base + 2; ++y)
            for (int x = cx - 12; x <= cx + 12; ++x) {
                const int dx = x - cx, dy = y - (base - 32);
                const bool inArch = dy >= 0 ? std::abs(dx) <= 8 && y <= base
                                            : dx * dx + dy * dy <= 64;
                const bool inFrame = dy >= 0 ? std::abs(dx) <= 10 && y <= base + 2
                                             : dx * dx + dy * dy <= 100;
                if (inArch) out.set(wrap(x), wrap(y), clear);
                else if (inFrame) out.set(wrap(x), wrap(y), 0x2a242e);
            }
    }
    return out;
}

// bg05: a forest, dark trunks under a leafy canopy with gaps of light.
Picture forest() {
    Picture out(side, side);
    const Fractal leaves(1501, 8, 4);
    const std::vector<Colour> leaf = {0x173220, 0x1f4128, 0x285032, 0x315e3a};
    const std::vector<Colour> bark = {0x22190f, 0x2e2216, 0x3a2c1e};
    Random random(1502);
    std::vector<std::pair<int, int>> trunks;  // centre x, half width
    for (int i = 0; i < 5; ++i) trunks.emplace_back(i * 51 + random.below(20), 4 + random.below(4));
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x) {
            const double v = leaves.at(x, y);
            bool onTrunk = false;
            double across = 0;
            for (const auto& t : trunks) {
                int dx = x - t.first;
                if (dx > side / 2) dx -= side;
                if (dx < -side / 2) dx += side;
                if (std::abs(dx) <= t.second) {
                    onTrunk = true;
                    across = (dx + t.second) / (2.0 * t.second);
                }
            }
            if (v > 0.36) {
                const double lit = (v - leaves.at(x + 2, y + 3)) * 8 + 0.5;
                out.set(x, y, ramp(leaf, (v - 0.36) * 1.6 + lit * 0.5 - 0.1, x, y));
            } else if (onTrunk) {
                out.set(x, y, ramp(bark, 1 - across * 1.2, x, y));
            }  // elsewhere: a gap in the canopy
        }
    return out;
}

// Bands of wavy ridges stacked down the tile, each filled to the next one;
// `colours` per band (clear for a band of open sky), lit along each crest.
Picture ridges(std::uint32_t seed, const std::vector<std::vector<Colour>>& bands, bool jagged,
               int amplitude) {
    Picture out(side, side);
    const int count = static_cast<int>(bands.size());
    std::vector<Fractal> shapes;
    for (int i = 0; i < count; ++i) shapes.emplace_back(seed + i, 4, jagged ? 5 : 3);
    const Fractal grain(seed + 99, 16, 2);
    auto crest = [&](int band, int x) {
        const double v = shapes[band].at(x, 0);
        double shaped = v;
        if (jagged) shaped = 1 - std::fabs(v - 0.5) * 2;  // sharp peaks
        return band * side / count + static_cast<int>(shaped * amplitude);
    };
    for (int x = 0; x < side; ++x) {
        for (int y = 0; y < side; ++y) {
            // The band whose crest lies above this pixel, nearest first.
            int band = count - 1;
            int distance = side;
            for (int b = 0; b < count; ++b) {
                const int d = wrap(y - crest(b, x));
                if (d < distance) {
                    distance = d;
                    band = b;
                }
            }
            const std::vector<Colour>& tones = bands[band];
            if (tones.empty()) continue;
            // Lit on slopes that face the top left, darker further down.
            const int slope = crest(band, x + 1) - crest(band, x - 1);
            double t = 0.75 - distance / 90.0 + (grain.at(x, y) - 0.5) * 0.5;
            if (distance < 12) t += -slope * 0.08 * (12 - distance) / 12.0;
            if (distance < 2) t = 1;  // the lit crest
            out.set(x, y, ramp(tones, t, x, y));
        }
    }
    return out;
}

// bg06: dunes of pale sand under bands of sky.
Picture dunes() {
    return ridges(1601,
                  {{}, {0x8a6e4e, 0x9c7e5a, 0xae8f68, 0xbca072},
                   {0x7a6046, 0x8c7052, 0x9e805e, 0xac8e6a}},
                  false, 36);
}

// bg07: jagged grey mountains, peak behind peak.
Picture mountains() {
    return ridges(1701,
                  {{}, {0x4a4256, 0x564c62, 0x62586e, 0x70667a},
                   {0x3a3446, 0x443c50, 0x4e465a, 0x5a5266}},
                  true, 60);
}

// bg08: an ice cave of faceted crystal, cracks letting the colour through.
Picture ice() {
    Picture out(side, side);
    Random random(1801);
    std::vector<std::pair<double, double>> seeds;
    for (int i = 0; i < 28; ++i) seeds.emplace_back(random.unit() * side, random.unit() * side);
    std::vector<double> shade;
    for (size_t i = 0; i < seeds.size(); ++i) shade.push_back(random.unit());
    const std::vector<Colour> tones = {0x6d86a8, 0x7c96b6, 0x8ba6c4, 0x9ab4d0};
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
            if (edge < 1.0 && (nearest % 4 == 0)) continue;  // a crack
            double t = shade[nearest] * 0.7 + 0.15;
            if (edge < 1.5) t = 0;
            else if (edge < 3.0) t = 1;  // glinting facet edge
            out.set(x, y, ramp(tones, t, x, y));
        }
    return out;
}

// bg09: clockwork, bronze gears on a dark plate with holes.
Picture clockwork() {
    Picture out(side, side);
    const Fractal patina(1901, 8, 3);
    const std::vector<Colour> plate = {0x2a2420, 0x322a24, 0x3a3128};
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x)
            out.set(x, y, ramp(plate, patina.at(x, y), x, y));
    struct Gear {
        double x, y, radius;
        int teeth;
    };
    const Gear gears[] = {{60, 60, 46, 12}, {150, 120, 34, 9},   {220, 40, 26, 8},
                          {70, 190, 30, 8}, {190, 220, 40, 10}, {128, 10, 16, 6}};
    const std::vector<Colour> bronze = {0x4e3a24, 0x5e462c, 0x6e5434, 0x7c603c};
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
                    if (r < g.radius * 0.12) out.set(x, y, clear);  // the axle hole
                    else out.set(x, y, 0x2a2018);
                    continue;
                }
                double t = 0.55 - (dx + dy) / (g.radius * 3);  // lit from the top left
                if (r > outer - 1.5) t = 0;
                else if (r > g.radius * 0.55 && r < g.radius * 0.62) t = 0.1;  // inner ring
                out.set(x, y, ramp(bronze, t, x, y));
            }
    return out;
}

}  // namespace

Picture makeBackground(int index) {
    switch (index) {
        case 0: return starryNight();
        case 1: return cloudySky();
        case 2: return cave();
        case 3: return factory();
        case 4: return fortress();
        case 5: return forest();
        case 6: return dunes();
        case 7: return mountains();
        case 8: return ice();
        default: return clockwork();
    }
}

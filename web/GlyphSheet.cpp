#include "web/GlyphSheet.h"

#include <algorithm>

namespace {
constexpr char magic[] = "CDVGLYPH2";

// Coverage is stored run-length coded: inside glyphs and around them most
// pixels are fully on or off. A control byte below 64 is a run of that many
// plus one 0s, below 128 a run of 255s, from 128 that many minus 127 other
// values follow as they are.
constexpr int runLimit = 64;
constexpr int literalLimit = 128;

void putCoverage(std::string& out, const std::vector<std::uint8_t>& coverage) {
    const std::size_t n = coverage.size();
    std::size_t i = 0;
    while (i < n) {
        const std::uint8_t v = coverage[i];
        std::size_t j = i;
        if (v == 0 || v == 255) {
            while (j < n && coverage[j] == v && j - i < runLimit) ++j;
            out.push_back(static_cast<char>((v ? runLimit : 0) + (j - i - 1)));
        } else {
            while (j < n && coverage[j] != 0 && coverage[j] != 255 && j - i < literalLimit) ++j;
            out.push_back(static_cast<char>(128 + (j - i - 1)));
            out.append(coverage.begin() + static_cast<long>(i), coverage.begin() + static_cast<long>(j));
        }
        i = j;
    }
}

const SheetGlyph& glyphOf(const SheetSize& size, unsigned char c) {
    if (c < GlyphSheet::firstGlyph || c > GlyphSheet::lastGlyph) c = ' ';
    return size.glyphs[c - GlyphSheet::firstGlyph];
}

void put32(std::string& out, int value) {
    const auto v = static_cast<std::uint32_t>(value);
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

struct Reader {
    const std::string& bytes;
    std::size_t at = 0;
    bool ok = true;
    int get32() {
        if (at + 4 > bytes.size()) {
            ok = false;
            return 0;
        }
        std::uint32_t v = 0;
        for (int i = 0; i < 4; ++i)
            v |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + i])) << (8 * i);
        at += 4;
        return static_cast<int>(v);
    }
    bool getCoverage(std::size_t n, std::vector<std::uint8_t>& coverage) {
        coverage.clear();
        coverage.reserve(n);
        while (coverage.size() < n) {
            if (at >= bytes.size()) return false;
            const int control = static_cast<unsigned char>(bytes[at++]);
            if (control < literalLimit) {
                const std::size_t run = static_cast<std::size_t>(control % runLimit) + 1;
                if (coverage.size() + run > n) return false;
                coverage.insert(coverage.end(), run, control < runLimit ? 0 : 255);
            } else {
                const std::size_t count = static_cast<std::size_t>(control - literalLimit) + 1;
                if (coverage.size() + count > n || at + count > bytes.size()) return false;
                coverage.insert(coverage.end(), bytes.begin() + static_cast<long>(at),
                                bytes.begin() + static_cast<long>(at + count));
                at += count;
            }
        }
        return true;
    }
};
}  // namespace

const SheetSize* GlyphSheet::size(int points) const {
    const int index = points - firstSize;
    if (index < 0 || index >= static_cast<int>(sizes.size())) return nullptr;
    return &sizes[static_cast<std::size_t>(index)];
}

std::string GlyphSheet::serialise() const {
    std::string out(magic, sizeof magic - 1);
    put32(out, firstSize);
    put32(out, static_cast<int>(sizes.size()));
    for (const SheetSize& s : sizes) {
        put32(out, s.height);
        for (const SheetGlyph& g : s.glyphs) {
            for (int v : {g.minx, g.maxx, g.advance, g.dx, g.dy, g.w, g.h}) put32(out, v);
            putCoverage(out, g.coverage);
        }
    }
    return out;
}

bool GlyphSheet::parse(const std::string& bytes) {
    if (bytes.compare(0, sizeof magic - 1, magic) != 0) return false;
    Reader in{bytes, sizeof magic - 1};
    firstSize = in.get32();
    const int count = in.get32();
    if (!in.ok || count < 0 || count > 1000) return false;
    sizes.assign(static_cast<std::size_t>(count), SheetSize());
    for (SheetSize& s : sizes) {
        s.height = in.get32();
        s.glyphs.resize(lastGlyph - firstGlyph + 1);
        for (SheetGlyph& g : s.glyphs) {
            g.minx = in.get32();
            g.maxx = in.get32();
            g.advance = in.get32();
            g.dx = in.get32();
            g.dy = in.get32();
            g.w = in.get32();
            g.h = in.get32();
            if (!in.ok || g.w < 0 || g.h < 0 || g.w > 4096 || g.h > 4096) return false;
            if (!in.getCoverage(static_cast<std::size_t>(g.w) * static_cast<std::size_t>(g.h),
                                g.coverage))
                return false;
        }
    }
    return in.ok;
}

// SDL_ttf 2.0's sizing: from the leftmost ink (or the pen's start) to the
// farthest of ink and advance; the height is the font's, whatever the text.
void measureSheetText(const SheetSize& size, const std::string& text, int* w, int* h) {
    int minx = 0, maxx = 0, x = 0;
    for (unsigned char c : text) {
        const SheetGlyph& g = glyphOf(size, c);
        minx = std::min(minx, x + g.minx);
        maxx = std::max(maxx, x + std::max(g.advance, g.maxx));
        x += g.advance;
    }
    if (w) *w = maxx - minx;
    if (h) *h = size.height;
}

// SDL_ttf 2.0's blended drawing: each glyph's coverage ORed in at its pen
// position; a first glyph reaching left of the pen moves the pen right.
std::vector<std::uint8_t> renderSheetText(const SheetSize& size, const std::string& text, int* w,
                                          int* h) {
    int width = 0, height = 0;
    measureSheetText(size, text, &width, &height);
    std::vector<std::uint8_t> plane(static_cast<std::size_t>(std::max(width, 0)) *
                                    static_cast<std::size_t>(std::max(height, 0)));
    int pen = 0;
    bool first = true;
    for (unsigned char c : text) {
        const SheetGlyph& g = glyphOf(size, c);
        if (first && g.minx < 0) pen -= g.minx;
        first = false;
        for (int row = 0; row < g.h; ++row) {
            const int y = g.dy + row;
            if (y < 0 || y >= height) continue;
            for (int col = 0; col < g.w; ++col) {
                const int x = pen + g.dx + col;
                if (x < 0 || x >= width) continue;
                plane[static_cast<std::size_t>(y * width + x)] |=
                    g.coverage[static_cast<std::size_t>(row * g.w + col)];
            }
        }
        pen += g.advance;
    }
    if (w) *w = width;
    if (h) *h = height;
    return plane;
}

#include "tools/artgen/Icons.h"

#include <algorithm>

namespace {

constexpr int iconColumn = 4;  // the plain form's standing frame on the sheet
constexpr int iconRow = 0;     // plain status

// The smallest rectangle holding every visible pixel of the picture.
struct Bounds {
    int left, top, right, bottom;  // right and bottom one past the last pixel
};

Bounds visibleBounds(const Picture& p) {
    Bounds b{p.width(), p.height(), 0, 0};
    for (int y = 0; y < p.height(); ++y)
        for (int x = 0; x < p.width(); ++x)
            if (p.at(x, y) != clear) {
                b.left = std::min(b.left, x);
                b.top = std::min(b.top, y);
                b.right = std::max(b.right, x + 1);
                b.bottom = std::max(b.bottom, y + 1);
            }
    return b;
}

// The hero's standing sprite, trimmed to what can be seen of him.
Picture standingHero(const Picture& sheet, int cell) {
    const Picture sprite = sheet.crop(iconColumn * cell, iconRow * cell, cell, cell);
    const Bounds b = visibleBounds(sprite);
    if (b.right <= b.left) return Picture();
    return sprite.crop(b.left, b.top, b.right - b.left, b.bottom - b.top);
}

// Each pixel of the picture as a zoom by zoom square.
Picture blownUp(const Picture& p, int zoom) {
    Picture big(p.width() * zoom, p.height() * zoom);
    for (int y = 0; y < big.height(); ++y)
        for (int x = 0; x < big.width(); ++x) big.set(x, y, p.at(x / zoom, y / zoom));
    return big;
}

}  // namespace

Picture drawIcon(const Picture& sheet16, const Picture& sheet32, int size) {
    // Whichever drawing, blown up by a whole number, fills the square best;
    // on a tie the 32-pixel one, which has the finer detail.
    Picture best;
    for (const Picture& hero : {standingHero(sheet32, 32), standingHero(sheet16, 16)}) {
        if (hero.empty()) continue;
        const int zoom = size / std::max(hero.width(), hero.height());
        if (zoom < 1) continue;
        const int side = std::max(hero.width(), hero.height()) * zoom;
        if (best.empty() || side > std::max(best.width(), best.height())) best = blownUp(hero, zoom);
    }
    Picture icon(size, size);
    icon.drawOver(best, (size - best.width()) / 2, (size - best.height()) / 2);
    return icon;
}

bool writeIcons(const Picture& sheet16, const Picture& sheet32, const std::string& folder, std::string& error) {
    for (const int size : iconSizes) {
        if (!savePng(drawIcon(sheet16, sheet32, size), folder + "/curdovar-" + std::to_string(size) + ".png", error))
            return false;
    }
    return true;
}

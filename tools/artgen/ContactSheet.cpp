#include "tools/artgen/ContactSheet.h"

#include <algorithm>

namespace {

constexpr int gap = 6;             // pixels between images on a sheet
constexpr int sheetWidth = 1400;   // pixels before a row of images wraps

// The game's background colour of a level, as the main loop computes it.
Colour levelColour(int n) {
    const int m = n % 5;
    return rgb(31 - 32 * m, m - 2, 8 * n - 9);
}

Picture zoomed(const Picture& p, int zoom) {
    Picture big(p.width() * zoom, p.height() * zoom);
    for (int y = 0; y < big.height(); ++y)
        for (int x = 0; x < big.width(); ++x) big.set(x, y, p.at(x / zoom, y / zoom));
    return big;
}

// One panel per colour: every image laid out in rows on that colour.
Picture imagePanels(const std::vector<std::pair<std::string, Picture>>& images, int zoom,
                    const std::vector<Colour>& colours) {
    std::vector<std::pair<int, int>> places;
    int x = gap, y = gap, rowHeight = 0;
    for (const auto& image : images) {
        const int w = image.second.width() * zoom, h = image.second.height() * zoom;
        if (x + w + gap > sheetWidth && x > gap) {
            x = gap;
            y += rowHeight + gap;
            rowHeight = 0;
        }
        places.emplace_back(x, y);
        x += w + gap;
        rowHeight = std::max(rowHeight, h);
    }
    const int panelHeight = y + rowHeight + gap;
    Picture sheet(sheetWidth, panelHeight * static_cast<int>(colours.size()));
    for (size_t c = 0; c < colours.size(); ++c) {
        const int top = static_cast<int>(c) * panelHeight;
        for (int py = 0; py < panelHeight; ++py)
            for (int px = 0; px < sheetWidth; ++px) sheet.set(px, top + py, colours[c]);
        for (size_t i = 0; i < images.size(); ++i)
            sheet.drawOver(zoomed(images[i].second, zoom), places[i].first, top + places[i].second);
    }
    return sheet;
}

const Picture* find(const std::vector<std::pair<std::string, Picture>>& images,
                    const std::string& name) {
    for (const auto& image : images)
        if (image.first == name) return &image.second;
    return nullptr;
}

// A mock screen of 20 by 15 tiles: the level colour, the background with its
// parallax origin, a floor, a few tiles, the hero and some enemies.
Picture scene(const ArtSet& art, int backgroundIndex) {
    const int t = 32;
    const auto& images = art.bySize.at(t);
    Picture screen(20 * t, 15 * t, levelColour(backgroundIndex == 0 ? 10 : backgroundIndex));
    const Picture& bg = art.backgrounds[backgroundIndex];
    for (int y = -40; y < screen.height(); y += bg.height())
        for (int x = -20; x < screen.width(); x += bg.width()) screen.drawOver(bg, x, y);
    auto put = [&](const std::string& name, int col, int row, int frame = -1, int frameRow = 0) {
        const Picture* p = find(images, name);
        if (!p) return;
        if (frame >= 0) screen.drawOver(p->crop(frame * t, frameRow * t, t, t), col * t, row * t);
        else screen.drawOver(*p, col * t, row * t);
    };
    for (int col = 0; col < 20; ++col) {
        put("wall", col, 14);
        put(col % 7 == 3 ? "cwall" : "wall", col, 13);
    }
    for (int col = 4; col < 9; ++col) put("platform", col, 9);
    for (int col = 12; col < 16; ++col) put("wall", col, 8);
    put("spikes", 10, 12);
    put("spikes", 11, 12);
    put("spring", 2, 12);
    put("key", 6, 8);
    put("goal", 18, 12);
    put("caflady", 13, 7);
    put("pierre", 14, 7);
    put("shades", 15, 7);
    put("stalag", 13, 9);
    put("flame", 16, 12);
    put("curdotree", 0, 12);
    put("milk", 9, 6);
    put("door", 17, 12);
    put("hint", 1, 12);
    put("us", 3, 12, backgroundIndex % 3, backgroundIndex % 6);
    put("us", 6, 12, 4 + backgroundIndex % 3, (backgroundIndex + 2) % 6);
    put("chomperanim", 8, 12, backgroundIndex % 4);
    put("zipperanim", 12, 12, (backgroundIndex + 1) % 4);
    put("flapperanim", 10, 4, backgroundIndex % 4);
    put("blobberanim", 16, 5, backgroundIndex % 4);
    put("bombanim", 5, 12, backgroundIndex % 4);
    put("crabanim", 14, 12, backgroundIndex % 2);
    put("maimframe", 1, 5);
    put("portal", 18, 4);
    put("alphorn", 7, 4);
    put("goto", 3, 3);
    return screen;
}

Picture sceneSheet(const ArtSet& art, int first, int count) {
    const int w = 640, h = 480;
    Picture sheet(2 * w + gap, ((count + 1) / 2) * (h + gap), 0x101010);
    for (int i = 0; i < count; ++i)
        sheet.drawOver(scene(art, first + i), (i % 2) * (w + gap), (i / 2) * (h + gap));
    return sheet;
}

}  // namespace

bool writeContactSheets(const ArtSet& art, const std::string& folder, std::string& error) {
    // White (level 1), the reds of levels 2 and 4, the greens of levels 5 and
    // 10, the menu's cyan-green and a near black for contrast.
    const std::vector<Colour> colours = {levelColour(1), levelColour(2), levelColour(4),
                                         levelColour(5), levelColour(0), 0x181420};
    for (const auto& size : art.bySize) {
        const Picture sheet = imagePanels(size.second, size.first == 16 ? 2 : 1, colours);
        if (!savePng(sheet, folder + "/contact-" + std::to_string(size.first) + ".png", error))
            return false;
    }
    if (!art.bySize.count(32) || art.backgrounds.size() < 10) return true;
    return savePng(sceneSheet(art, 0, 5), folder + "/scenes-a.png", error) &&
           savePng(sceneSheet(art, 5, 5), folder + "/scenes-b.png", error);
}

#include "tools/difficulty/DeathMap.h"

#include "level/Tiles.h"
#include "menus/Settings.h"
#include "shell/WholeFile.h"
#include "tools/difficulty/PngFile.h"

#include <algorithm>

namespace {

constexpr int cellPixels = 4;  // edge of one level cell in the map
constexpr std::uint32_t skyColour = 0xE8F0F8;
constexpr std::uint32_t wallColour = 0x505060;
constexpr std::uint32_t hazardColour = 0xC08040;  // spikes, stalactites, flames
constexpr std::uint32_t goalColour = 0x30B030;
constexpr std::uint32_t otherColour = 0xA8B8C8;   // pickups, springs, platforms, objects
constexpr std::uint32_t routeColour = 0x2060E0;

std::uint32_t colourOf(int value) {
    switch (value) {
    case TileEmpty:
    case TileStart:
    case TileStopper: return skyColour;
    case TileWall:
    case TileHiddenWall:
    case TileCrackableWall:
    case TileFakeWall: return wallColour;
    case TileSpikes:
    case TileStalag:
    case TileFlame: return hazardColour;
    case TileGoal: return goalColour;
    default: return otherColour;
    }
}

}  // namespace

DeathMap::DeathMap(const Level& level, const Route& route)
    : cols(level.getWidth()), rows(level.getHeight()),
      rgb(3 * static_cast<std::size_t>(cols * cellPixels) * rows * cellPixels, 0) {
    for (int c = 0; c < cols; ++c)
        for (int r = 0; r < rows; ++r) fillCell(c, r, colourOf(level.getGrid()[c][r]));
    // The hero's centre along the route.
    for (const RoutePoint& p : route.path())
        dot((p.x + tileSize / 2) * cellPixels / tileSize, (p.y + tileSize / 2) * cellPixels / tileSize,
            routeColour);
}

void DeathMap::markDeaths(const ProfileFigures& figures) {
    int most = 1;
    for (const auto& [cell, count] : figures.deathCells) most = std::max(most, count);
    for (const auto& [cell, count] : figures.deathCells) {
        // From a pale red for one death to full red for the worst cell.
        const int fade = 160 - 160 * count / most;
        fillCell(cell.first, cell.second,
                 0xFF0000u | static_cast<std::uint32_t>(fade) << 8 | static_cast<std::uint32_t>(fade));
    }
}

void DeathMap::dot(int x, int y, std::uint32_t colour) {
    const int w = cols * cellPixels, h = rows * cellPixels;
    if (x < 0 || y < 0 || x >= w || y >= h) return;
    std::uint8_t* p = &rgb[3 * (static_cast<std::size_t>(y) * w + x)];
    p[0] = static_cast<std::uint8_t>(colour >> 16);
    p[1] = static_cast<std::uint8_t>(colour >> 8);
    p[2] = static_cast<std::uint8_t>(colour);
}

void DeathMap::fillCell(int col, int row, std::uint32_t colour) {
    if (col < 0 || row < 0 || col >= cols || row >= rows) return;
    for (int y = 0; y < cellPixels; ++y)
        for (int x = 0; x < cellPixels; ++x) dot(col * cellPixels + x, row * cellPixels + y, colour);
}

bool DeathMap::save(const std::string& path) const {
    return writeWholeFile(path, encodePng(cols * cellPixels, rows * cellPixels, rgb));
}

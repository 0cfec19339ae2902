#pragma once

#include "level/Level.h"
#include "tools/difficulty/LevelStudy.h"

#include <cstdint>
#include <string>
#include <vector>

// A level drawn small, a few pixels a cell, with the route as a thin line
// and a red square on every cell where the simulated people died, redder
// where more died.
class DeathMap {
public:
    DeathMap(const Level& level, const Route& route);
    void markDeaths(const ProfileFigures& figures);
    // Written whole through a temporary; false with a line on standard error.
    bool save(const std::string& path) const;

private:
    void fillCell(int col, int row, std::uint32_t colour);
    void dot(int x, int y, std::uint32_t colour);

    int cols, rows;
    std::vector<std::uint8_t> rgb;
};

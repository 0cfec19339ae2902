#include "tools/edit/Clip.h"

#include "level/Tiles.h"

#include <algorithm>

Clip Clip::take(const LevelDraft& level, const CellRect& area) {
    const int left = std::max(0, area.left());
    const int top = std::max(0, area.top());
    const int right = std::min(level.getWidth(), area.left() + area.width());
    const int bottom = std::min(level.getHeight(), area.top() + area.height());
    Clip clip;
    if (right <= left || bottom <= top) return clip;
    const CellRect inside{left, top, right - 1, bottom - 1};
    clip.width = right - left;
    clip.height = bottom - top;
    for (int x = left; x < right; ++x) {
        for (int y = top; y < bottom; ++y) {
            Taken taken;
            taken.cell = level.at(x, y);
            if (taken.cell.value == KindPortal &&
                inside.contains(taken.cell.targetColumn, taken.cell.targetRow)) {
                taken.aimsInside = true;
                taken.cell.targetColumn -= left;
                taken.cell.targetRow -= top;
            }
            clip.cells.push_back(taken);
        }
    }
    return clip;
}

void Clip::putInto(LevelDraft& level, int column, int row) const {
    const auto lands = [&](int i) {
        return level.contains(column + i / height, row + i % height);
    };
    for (size_t i = 0; i < cells.size(); ++i) {
        if (cells[i].cell.value != TileStart || !lands(static_cast<int>(i))) continue;
        for (int x = 0; x < level.getWidth(); ++x) {
            for (int y = 0; y < level.getHeight(); ++y) {
                if (level.at(x, y).value == TileStart) level.setValue(x, y, TileEmpty);
            }
        }
        break;
    }
    for (size_t i = 0; i < cells.size(); ++i) {
        if (!lands(static_cast<int>(i))) continue;
        DraftCell cell = cells[i].cell;
        if (cells[i].aimsInside) {
            cell.targetColumn += column;
            cell.targetRow += row;
        }
        level.restore(column + static_cast<int>(i) / height, row + static_cast<int>(i) % height,
                      cell);
    }
}

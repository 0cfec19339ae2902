#pragma once

#include "level/LevelDraft.h"

#include <vector>

// A rectangle of a level's cells, inclusive, in either corner order.
struct CellRect {
    int column0 = 0;
    int row0 = 0;
    int column1 = 0;
    int row1 = 0;

    int left() const { return column0 < column1 ? column0 : column1; }
    int top() const { return row0 < row1 ? row0 : row1; }
    int width() const { return (column0 < column1 ? column1 - column0 : column0 - column1) + 1; }
    int height() const { return (row0 < row1 ? row1 - row0 : row0 - row1) + 1; }
    bool contains(int column, int row) const {
        return column >= left() && row >= top() && column < left() + width() &&
               row < top() + height();
    }
};

// Cells taken from a level to be put down elsewhere: the editor's copy, cut
// and paste. Hints keep their words. A portal aimed inside the rectangle
// keeps aiming at the same place relative to it, so a copied puzzle works
// where it lands; one aimed outside keeps its cell in the level, so a copy
// of an entrance still leads where the original did.
class Clip {
public:
    Clip() = default;
    // The rectangle's cells, the part outside the grid left out.
    static Clip take(const LevelDraft& level, const CellRect& area);

    bool empty() const { return cells.empty(); }
    int getWidth() const { return width; }
    int getHeight() const { return height; }

    // Puts every cell down, empty ones too, the rectangle's top-left at
    // (column, row); what falls outside the grid is dropped. A start in the
    // clip takes the level's start away, as a level has one.
    void putInto(LevelDraft& level, int column, int row) const;

private:
    struct Taken {
        DraftCell cell;        // a portal's target made relative to the top-left when inside
        bool aimsInside = false;
    };

    int width = 0;
    int height = 0;
    std::vector<Taken> cells;  // column by column
};

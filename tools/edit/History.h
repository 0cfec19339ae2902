#pragma once

#include "level/LevelDraft.h"

#include <string>
#include <vector>

// Every change made to the level, for undo and redo without limit. A change
// that keeps the grid's size is kept as the cells it changed, so a long
// session on a big level stays small; a resize, or a change of the look or
// the lines after the name, keeps both whole levels.
class History {
public:
    // The level went from before to after.
    void record(const LevelDraft& before, const LevelDraft& after);
    // Takes the level back over the last change; false when none is left.
    bool undo(LevelDraft& level);
    bool redo(LevelDraft& level);

private:
    struct CellChange {
        int column;
        int row;
        DraftCell before;
        DraftCell after;
    };
    struct Change {
        std::vector<CellChange> cells;
        std::string nameBefore;
        std::string nameAfter;
        std::vector<LevelDraft> whole;  // before and after, for a change of size
    };
    // Puts the level at one side of the change.
    static void apply(const Change& change, bool forward, LevelDraft& level);

    std::vector<Change> done;    // newest last
    std::vector<Change> undone;  // newest last
};

#include "tools/edit/History.h"

void History::record(const LevelDraft& before, const LevelDraft& after) {
    Change change;
    if (before.getWidth() != after.getWidth() || before.getHeight() != after.getHeight() ||
        before.getTrailer() != after.getTrailer() || before.getLook() != after.getLook()) {
        change.whole = {before, after};
    } else {
        for (int x = 0; x < before.getWidth(); ++x) {
            for (int y = 0; y < before.getHeight(); ++y) {
                if (before.at(x, y) != after.at(x, y))
                    change.cells.push_back({x, y, before.at(x, y), after.at(x, y)});
            }
        }
        change.nameBefore = before.getName();
        change.nameAfter = after.getName();
    }
    done.push_back(std::move(change));
    undone.clear();
}

void History::apply(const Change& change, bool forward, LevelDraft& level) {
    if (!change.whole.empty()) {
        level = change.whole[forward ? 1 : 0];
        return;
    }
    for (const CellChange& cell : change.cells)
        level.restore(cell.column, cell.row, forward ? cell.after : cell.before);
    level.restoreName(forward ? change.nameAfter : change.nameBefore);
}

bool History::undo(LevelDraft& level) {
    if (done.empty()) return false;
    apply(done.back(), false, level);
    undone.push_back(std::move(done.back()));
    done.pop_back();
    return true;
}

bool History::redo(LevelDraft& level) {
    if (undone.empty()) return false;
    apply(undone.back(), true, level);
    done.push_back(std::move(undone.back()));
    undone.pop_back();
    return true;
}

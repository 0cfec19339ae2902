#include "tools/edit/History.h"

void History::record(const LevelDraft& before) {
    done.push_back(before);
    undone.clear();
}

bool History::undo(LevelDraft& level) {
    if (done.empty()) return false;
    undone.push_back(level);
    level = done.back();
    done.pop_back();
    return true;
}

bool History::redo(LevelDraft& level) {
    if (undone.empty()) return false;
    done.push_back(level);
    level = undone.back();
    undone.pop_back();
    return true;
}

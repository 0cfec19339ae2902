#pragma once

#include "level/LevelDraft.h"

#include <vector>

// Every state the level was in before each change, for undo and redo
// without limit. A level is small next to memory: whole drafts are kept.
class History {
public:
    // A change is about to be made, or was made from this state.
    void record(const LevelDraft& before);
    // Puts the state before the last change into level; false when none is left.
    bool undo(LevelDraft& level);
    bool redo(LevelDraft& level);
    bool canUndo() const { return !undone.empty() || !done.empty(); }

private:
    std::vector<LevelDraft> done;    // states to go back to, newest last
    std::vector<LevelDraft> undone;  // states to go forward to, newest last
};

// The editor's selection and clip: Ctrl+drag selects, Ctrl+C copies, Ctrl+X
// cuts, Ctrl+V puts the clip down with its top-left at the mouse's cell.
#include "tools/edit/Editor.h"

#include "level/Tiles.h"

std::string Editor::sizeOf(const CellRect& area) const {
    return std::to_string(area.width()) + " by " + std::to_string(area.height()) + " at (" +
           std::to_string(area.left()) + ", " + std::to_string(area.top()) + ")";
}

bool Editor::takeSelection() {
    if (!hasSelection) {
        say("Nothing selected: Ctrl+drag over the level selects.");
        return false;
    }
    Clip taken = Clip::take(level, selection);
    if (taken.empty()) {
        say("The selection is outside the grid.");
        return false;
    }
    clip = std::move(taken);
    return true;
}

void Editor::copySelection() {
    if (takeSelection()) say("Copied " + sizeOf(selection) + ".");
}

void Editor::cutSelection() {
    if (!takeSelection()) return;
    beginChange();
    fill(selection.column0, selection.row0, selection.column1, selection.row1, TileEmpty);
    endChange();
    say("Cut " + sizeOf(selection) + ": Ctrl+V puts it down at the mouse.");
}

void Editor::paste() {
    if (clip.empty()) {
        say("Nothing to paste: Ctrl+C or Ctrl+X a selection first.");
        return;
    }
    beginChange();
    clip.putInto(level, cursorColumn, cursorRow);
    endChange();
    // The pasted cells become the selection, so a second cut moves them on.
    hasSelection = true;
    selection = {cursorColumn, cursorRow, cursorColumn + clip.getWidth() - 1,
                 cursorRow + clip.getHeight() - 1};
    say("Pasted " + sizeOf(selection) + ".");
}

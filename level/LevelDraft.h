#pragma once

#include <istream>
#include <string>
#include <vector>

// One cell of a level file as written: its value and, for a hint or a
// portal, the parameters that follow it.
struct DraftCell {
    int value = 0;
    std::string text;      // a hint's words, single blanks between them, without the terminator
    int targetColumn = 0;  // a portal's target cell
    int targetRow = 0;

    bool operator==(const DraftCell& other) const;
    bool operator!=(const DraftCell& other) const { return !(*this == other); }
};

// What a level file says, cell by cell, for the tools that change levels
// (the editor): the grid, each object's parameters, the name line and
// whatever follows it. The game plays a Level; a draft is written back with
// the level writer (level/LevelWriter.h) and read by the game's loader.
class LevelDraft {
public:
    LevelDraft() = default;
    // A grid of empty cells, named "New_Level".
    LevelDraft(int width, int height);

    // Reads a level file with the game's own parse, keeping what the loader
    // drops (parameters as written, the lines after the name). False with a
    // one-line reason where the loader refuses the file.
    bool read(std::istream& in, std::string& error);
    bool readFile(const std::string& path, std::string& error);

    int getWidth() const { return width; }
    int getHeight() const { return height; }
    bool contains(int column, int row) const;
    const DraftCell& at(int column, int row) const { return cells[column][row]; }
    // A new value clears the cell's parameters; a portal aims at itself.
    void setValue(int column, int row, int value);
    // Words of any spacing; kept with single blanks, the terminator left out.
    void setHintText(int column, int row, const std::string& words);
    void setPortalTarget(int column, int row, int targetColumn, int targetRow);
    // Puts a cell back as it was, parameters and all (for undo).
    void restore(int column, int row, const DraftCell& cell) { cells[column][row] = cell; }
    void restoreName(const std::string& line) { name = line; }

    // The name line as written (underscores for blanks).
    const std::string& getName() const { return name; }
    void setName(const std::string& text);
    // The world's look ("look NAME" after the name line); empty for none.
    const std::string& getLook() const { return look; }
    void setLook(const std::string& name) { look = name; }
    // Everything else after the name line, byte for byte (checker notes such
    // as "lint: no-goal").
    const std::string& getTrailer() const { return trailer; }

    // Grows (positive) or shrinks (negative) the grid at each edge. Cells
    // keep their place in the level; portal targets move with them. False,
    // with nothing changed, when the grid would be empty or bigger than the
    // loader takes.
    bool resize(int left, int top, int right, int bottom);

    bool operator==(const LevelDraft& other) const;
    bool operator!=(const LevelDraft& other) const { return !(*this == other); }

private:
    friend class DraftReader;

    int width = 0;
    int height = 0;
    std::vector<std::vector<DraftCell>> cells;  // cells[column][row], like the game's grid
    std::string name;
    std::string look;
    std::string trailer;
};

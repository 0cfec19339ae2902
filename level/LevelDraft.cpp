#include "level/LevelDraft.h"

#include "level/LevelParser.h"
#include "level/Tiles.h"
#include "things/Hint.h"
#include "things/Portal.h"

#include <fstream>
#include <iterator>
#include <sstream>

// The draft's side of the game's parse: every cell with its parameters as
// written, and the lines after the name.
class DraftReader final : public LevelParser {
public:
    explicit DraftReader(LevelDraft& into) : draft(into) {}

private:
    void beginGrid(int width, int height) override { draft = LevelDraft(width, height); }
    void readCell(std::istream& in, int value, int x, int y) override {
        DraftCell& cell = draft.cells[x][y];
        cell.value = value;
        if (!in) return;
        if (value == KindHint) {
            std::vector<std::string> words;
            Hint::readWords(in, words);
            for (const std::string& word : words) cell.text += (cell.text.empty() ? "" : " ") + word;
        } else if (value == KindPortal) {
            Portal::readTarget(in, cell.targetColumn, cell.targetRow);
        }
    }
    void endGrid(const std::string& nameLine, std::istream& rest) override {
        draft.name = nameLine;
        // The look line is the draft's own field; every other line after the
        // name is kept byte for byte.
        std::string line;
        while (std::getline(rest, line)) {
            std::istringstream words(line);
            std::string first;
            std::string second;
            if (draft.look.empty() && words >> first >> second && first == "look") {
                draft.look = second;
                continue;
            }
            draft.trailer += line;
            if (!rest.eof()) draft.trailer += '\n';
        }
    }

    LevelDraft& draft;
};

bool DraftCell::operator==(const DraftCell& other) const {
    return value == other.value && text == other.text && targetColumn == other.targetColumn &&
           targetRow == other.targetRow;
}

LevelDraft::LevelDraft(int w, int h)
    : width(w), height(h),
      cells(static_cast<size_t>(w), std::vector<DraftCell>(static_cast<size_t>(h))),
      name("New_Level") {}

bool LevelDraft::read(std::istream& in, std::string& error) {
    LevelDraft draft;
    DraftReader reader(draft);
    if (!reader.parse(in)) {
        const LoadFailure& failure = reader.getFailure();
        const int value = draft.contains(failure.column, failure.row)
                              ? draft.at(failure.column, failure.row).value
                              : 0;
        error = describeLoadFailure(failure, value);
        if (failure.column >= 0)
            error += " at column " + std::to_string(failure.column) + ", row " +
                     std::to_string(failure.row);
        return false;
    }
    *this = std::move(draft);
    return true;
}

bool LevelDraft::readFile(const std::string& path, std::string& error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot open " + path;
        return false;
    }
    return read(in, error);
}

bool LevelDraft::contains(int column, int row) const {
    return column >= 0 && row >= 0 && column < width && row < height;
}

void LevelDraft::setValue(int column, int row, int value) {
    DraftCell& cell = cells[column][row];
    if (cell.value == value) return;
    cell = DraftCell();
    cell.value = value;
    if (value == KindPortal) {
        cell.targetColumn = column;
        cell.targetRow = row;
    }
}

void LevelDraft::setHintText(int column, int row, const std::string& words) {
    std::istringstream in(words);
    std::string text;
    std::string word;
    while (in >> word) {
        if (word == hintTerminator) continue;  // would end the text early
        if (!text.empty()) text += ' ';
        text += word;
    }
    cells[column][row].text = text;
}

void LevelDraft::setPortalTarget(int column, int row, int targetColumn, int targetRow) {
    cells[column][row].targetColumn = targetColumn;
    cells[column][row].targetRow = targetRow;
}

void LevelDraft::setName(const std::string& text) {
    name.clear();
    for (char c : text) {
        if (c == '\n' || c == '\r') continue;
        name += c == ' ' ? '_' : c;
    }
}

bool LevelDraft::resize(int left, int top, int right, int bottom) {
    const int w = width + left + right;
    const int h = height + top + bottom;
    if (w < 1 || h < 1 || static_cast<long long>(w) * h > maxLevelCells) return false;
    std::vector<std::vector<DraftCell>> grown(static_cast<size_t>(w),
                                              std::vector<DraftCell>(static_cast<size_t>(h)));
    for (int x = 0; x < w; ++x) {
        for (int y = 0; y < h; ++y) {
            if (!contains(x - left, y - top)) continue;
            DraftCell cell = cells[x - left][y - top];
            if (cell.value == KindPortal) {
                cell.targetColumn += left;
                cell.targetRow += top;
            }
            grown[x][y] = cell;
        }
    }
    cells = std::move(grown);
    width = w;
    height = h;
    return true;
}

bool LevelDraft::operator==(const LevelDraft& other) const {
    return width == other.width && height == other.height && cells == other.cells &&
           name == other.name && look == other.look && trailer == other.trailer;
}

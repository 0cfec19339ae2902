#include "level/LevelDraft.h"

#include "level/Level.h"
#include "level/Tiles.h"
#include "things/Hint.h"

#include <fstream>
#include <iterator>
#include <sstream>

namespace {

// The loader's separator rule: one character, a '\r' before a '\n' with it.
void skipSeparator(std::istream& in) {
    if (in.get() == '\r' && in.peek() == '\n') in.get();
}

std::string where(int column, int row) {
    return "column " + std::to_string(column) + ", row " + std::to_string(row);
}

}  // namespace

bool DraftCell::operator==(const DraftCell& other) const {
    return value == other.value && text == other.text && targetColumn == other.targetColumn &&
           targetRow == other.targetRow;
}

LevelDraft::LevelDraft(int w, int h)
    : width(w), height(h),
      cells(static_cast<size_t>(w), std::vector<DraftCell>(static_cast<size_t>(h))),
      name("New_Level") {}

bool LevelDraft::read(std::istream& in, std::string& error) {
    int w = 0;
    int h = 0;
    in >> w;
    if (in) {
        skipSeparator(in);
        in >> h;
    }
    if (!in) {
        error = "the size is not two numbers";
        return false;
    }
    if (w < 0 || h < 0 || w > maxLevelCells || static_cast<long long>(w) * h > maxLevelCells) {
        error = "refused level size " + std::to_string(w) + " x " + std::to_string(h);
        return false;
    }
    LevelDraft draft(w, h);
    for (int x = 0; x < w; ++x) {
        for (int y = 0; y < h; ++y) {
            DraftCell& cell = draft.cells[x][y];
            in >> cell.value;
            if (cell.value == KindHint && in) {
                std::string word;
                while (in >> word && word != hintTerminator) {
                    if (!cell.text.empty()) cell.text += ' ';
                    cell.text += word;
                }
            } else if (cell.value == KindPortal && in) {
                in >> cell.targetColumn >> cell.targetRow;
            }
            // As the loader: the file may not end inside the grid, not even
            // right after its last value.
            if (!in || in.eof()) {
                error = "the grid does not read at " + where(x, y);
                return false;
            }
        }
        skipSeparator(in);
    }
    std::getline(in, draft.name);
    if (!draft.name.empty() && draft.name.back() == '\r') draft.name.pop_back();
    draft.trailer.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
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
           name == other.name && trailer == other.trailer;
}

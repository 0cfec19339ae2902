#include "level/LevelParser.h"

#include "level/Tiles.h"
#include "things/Hint.h"

#include <istream>
#include <ostream>

namespace {

// Skips the one separator character between two sizes or after a column. A
// '\r' right before a line end belongs to it, so files with Windows line ends
// read as if they had plain ones.
void skipSeparator(std::istream& in) {
    if (in.get() == '\r' && in.peek() == '\n') in.get();
}

}  // namespace

std::string describeLoadFailure(const LoadFailure& failure, int value) {
    switch (failure.kind) {
    case LoadFailure::None: return "";
    case LoadFailure::CannotOpen: return "cannot open the file";
    case LoadFailure::BadWidth: return "the width is not a number";
    case LoadFailure::BadHeight: return "the height is not a number";
    case LoadFailure::RefusedSize:
        return "the size is refused: negative, or more than " + std::to_string(maxLevelCells) +
               " cells";
    case LoadFailure::EndInGrid: return "the file ends inside the grid";
    case LoadFailure::EndAfterCell:
    case LoadFailure::BadCell:
        if (value == KindHint) return std::string("hint text without \"") + hintTerminator + "\"";
        if (value == KindPortal) return "portal without a target column and row";
        if (failure.kind == LoadFailure::BadCell) return "not a number";
        return "the file ends right after this cell: the game needs a line end and the name "
               "line after the grid";
    }
    return "";
}

bool LevelParser::fail(LoadFailure::Kind kind, int column, int row) {
    failure.kind = kind;
    failure.column = column;
    failure.row = row;
    return false;
}

bool LevelParser::parse(std::istream& in, std::ostream* progress) {
    failure = LoadFailure();
    int& width = fileWidth;
    int& height = fileHeight;
    width = 0;
    height = 0;
    in >> width;
    const bool widthRead = static_cast<bool>(in);
    if (widthRead) {
        if (progress) *progress << "Width: " << width;
        skipSeparator(in);
        in >> height;
    }
    if (!in) return fail(widthRead ? LoadFailure::BadHeight : LoadFailure::BadWidth);
    if (progress) *progress << "\nHeight: " << height;
    if (width < 0 || height < 0 || width > maxLevelCells ||
        static_cast<long long>(width) * height > maxLevelCells)
        return fail(LoadFailure::RefusedSize);
    if (progress) *progress << "\nLoading grid...\n";

    beginGrid(width, height);
    for (int x = 0; x < width; ++x) {
        for (int y = 0; y < height; ++y) {
            int value = 0;
            in >> value;
            const bool valueRead = static_cast<bool>(in);
            readCell(in, value, x, y);
            // The file may not end inside the grid, not even right after its
            // last value: the name line must follow.
            if (in.eof())
                return fail(valueRead ? LoadFailure::EndAfterCell : LoadFailure::EndInGrid, x, y);
            if (in.fail()) return fail(LoadFailure::BadCell, x, y);
        }
        skipSeparator(in);
    }
    if (progress) *progress << "Grid loaded.\n";

    std::string line;
    std::getline(in, line);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    endGrid(line, in);
    return true;
}

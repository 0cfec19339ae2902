#pragma once

#include <iosfwd>
#include <string>

constexpr long long maxLevelCells = 4194304;  // a bigger grid would exhaust memory

// Where and why a level file was refused, for the level checker and the
// editor to report with the file's own positions.
struct LoadFailure {
    enum Kind {
        None,
        CannotOpen,
        BadWidth,      // the width is not a number
        BadHeight,     // the height is not a number
        RefusedSize,   // negative, or more cells than memory allows
        EndInGrid,     // the file ends where a cell value should be
        EndAfterCell,  // the file ends right after a cell value or inside its parameters
        BadCell,       // a cell value or its object's parameters do not read
    };
    Kind kind = None;
    int column = -1;  // the cell, for the last three kinds
    int row = -1;
};

// Why a file was refused, in a level designer's words. `value` is what the
// refused cell holds (0 when its value did not read): a hint or a portal
// is named by its parameters.
std::string describeLoadFailure(const LoadFailure& failure, int value);

// The level file's one grammar, for the game's loader and the editor alike:
// width and height, the grid column by column with each object's
// parameters right after its value, then the name line. What becomes of
// each part is the reader's, in the hooks.
class LevelParser {
public:
    virtual ~LevelParser() = default;

    // False where the file is refused, with getFailure() saying why; the
    // stream is left where reading stopped, its state telling how.
    // `progress`, when given, gets the game's loading lines.
    bool parse(std::istream& in, std::ostream* progress = nullptr);
    const LoadFailure& getFailure() const { return failure; }
    // The size as the file gives it, also when refused.
    int getFileWidth() const { return fileWidth; }
    int getFileHeight() const { return fileHeight; }

protected:
    // The size has passed its check; cells follow.
    virtual void beginGrid(int width, int height) = 0;
    // Called with each cell's value as read (0 when it did not read, the
    // stream failed); an object's parameters are read from `in` here, and a
    // failed read of them stays visible on the stream.
    virtual void readCell(std::istream& in, int value, int column, int row) = 0;
    // The name line (a '\r' before its end taken off) and the rest of the file.
    virtual void endGrid(const std::string& nameLine, std::istream& rest) = 0;

private:
    bool fail(LoadFailure::Kind kind, int column = -1, int row = -1);

    LoadFailure failure;
    int fileWidth = 0;
    int fileHeight = 0;
};

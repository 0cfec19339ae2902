#pragma once

#include "things/Thing.h"

// Moves the Player to its target cell. Parameters: target column and row.
class Portal final : public Thing {
public:
    Portal(int col, int row);
    void read(std::istream& in) override;
    // Reads the target column and row; a failed read stays on the stream.
    static void readTarget(std::istream& in, int& column, int& row);
    int touch(Player* player) override;

    int getTargetX() const { return targetX; }
    int getTargetY() const { return targetY; }

private:
    Sint32 targetX;  // level pixels
    Sint32 targetY;
};

#include "things/Portal.h"

#include "level/Tiles.h"
#include "media/Images.h"
#include "menus/Settings.h"
#include "player/Player.h"
#include "media/Geometry.h"

// Until its targets are read a portal leads to its own cell, in pixels like every position.
Portal::Portal(int col, int row)
    : Thing(col, row), targetX(cellToPixel(col, tileSize)), targetY(cellToPixel(row, tileSize)) {
    image = loadTileImage(kindImage(KindPortal));
}

void Portal::readTarget(std::istream& in, int& column, int& row) {
    in >> column >> row;
}

void Portal::read(std::istream& in) {
    readTarget(in, targetX, targetY);
    targetX = cellToPixel(targetX, tileSize);
    targetY = cellToPixel(targetY, tileSize);
}

int Portal::touch(Player* player) {
    if (player) player->setPosition(targetX, targetY);
    return TouchNothing;
}

#include "things/Portal.h"

#include "media/Images.h"
#include "menus/Settings.h"
#include "player/Player.h"

Portal::Portal(int col, int row) : Thing(col, row), targetX(col), targetY(row) {
    image = loadTileImage("portal");
}

void Portal::read(std::istream& in) {
    // A failed extraction stays visible on the stream for the level loader.
    in >> targetX >> targetY;
    targetX *= tileSize;
    targetY *= tileSize;
}

int Portal::touch(Player* player) {
    if (player) player->setPosition(targetX, targetY);
    return TouchNothing;
}

#include "things/Door.h"

#include "level/Tiles.h"
#include "media/Images.h"
#include "player/Player.h"

Door::Door(int col, int row) : Thing(col, row) {
    image = loadTileImage(kindImage(KindDoor));
    fitToImage();
}

int Door::touch(Player* player) {
    // Once open, later touches in the same frame must not take another key.
    if (dead) return TouchNothing;
    if (player && player->useKey()) {
        dead = true;
        return TouchNothing;
    }
    return TouchSolid;
}

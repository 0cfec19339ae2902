#include "things/Milk.h"

#include "level/Tiles.h"
#include "media/Images.h"

Milk::Milk(int col, int row) : Thing(col, row) {
    image = loadTileImage(kindImage(KindMilk));
    fitToImage();
}

int Milk::touch(Player*) {
    // The Player touches again in the same frame; only the first touch counts.
    if (dead) return TouchNothing;
    dead = true;
    return TouchCollected;
}

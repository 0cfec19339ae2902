#include "things/MenuOptions.h"

#include "level/Tiles.h"
#include "media/Images.h"
#include "player/Player.h"

MenuOptions::MenuOptions(int col, int row) : Thing(col, row) {
    image = loadTileImage(kindImage(KindMenuOptions));
    fitToImage();
}

int MenuOptions::touch(Player* player) {
    // The level step turns the flag into its result; the main loop opens the menu.
    if (player) player->setFlag(OpenOptions);
    return TouchNothing;
}

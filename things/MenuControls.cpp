#include "things/MenuControls.h"

#include "level/Tiles.h"
#include "media/Images.h"
#include "player/Player.h"

MenuControls::MenuControls(int col, int row) : Thing(col, row) {
    image = loadTileImage(kindImage(KindMenuControls));
    fitToImage();
}

int MenuControls::touch(Player* player) {
    // The level step turns the flag into its result; the main loop opens the menu.
    if (player) player->setFlag(OpenControls);
    return TouchNothing;
}

#include "things/MenuContinue.h"

#include "level/Tiles.h"
#include "media/Images.h"
#include "player/Player.h"

MenuContinue::MenuContinue(int col, int row) : Thing(col, row) {
    image = loadTileImage(kindImage(KindMenuContinue));
    fitToImage();
}

int MenuContinue::touch(Player* player) {
    // The level step turns the flag into its result; the main loop reads the checkpoint.
    if (player) player->setFlag(ContinueGame);
    return TouchNothing;
}

#include "things/Hint.h"

#include "level/Tiles.h"
#include "media/Images.h"
#include "menus/MessageBox.h"
#include "player/Player.h"

#include <iostream>

const char* const hintTerminator = "Burmashave.";

Hint::Hint(int col, int row) : Thing(col, row) {
    image = loadTileImage(kindImage(KindHint));
    // A new level may come with a new screen size; the next box makes a fresh veil.
    releaseMessageOverlay();
}

void Hint::read(std::istream& in) {
    std::string word;
    while (word != hintTerminator) {
        text += word;
        text += ' ';
        in >> word;
        // Also when the terminator itself was the last thing in the file.
        if (in.eof() || in.fail()) {
            std::cerr << "Invalid .lvl!\n";
            return;
        }
    }
}

int Hint::touch(Player* player) {
    // The request is used up here even when there is nowhere to show the box.
    if (player && player->takeHintRequest() && screen) showMessage(text, screen);
    return TouchNothing;
}

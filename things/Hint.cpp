#include "things/Hint.h"

#include "level/Tiles.h"
#include "media/Images.h"
#include "menus/ActionNames.h"
#include "menus/MessageBox.h"
#include "player/Player.h"

#include <iostream>

const char* const hintTerminator = "Burmashave.";

Hint::Hint(int col, int row) : Thing(col, row) {
    image = loadTileImage(kindImage(KindHint));
    // A new level may come with a new screen size; the next box makes a fresh veil.
    releaseMessageOverlay();
}

bool Hint::readWords(std::istream& in, std::vector<std::string>& words) {
    std::string word;
    while (in >> word && !in.eof()) {
        if (word == hintTerminator) return true;
        words.push_back(word);
    }
    return false;
}

void Hint::read(std::istream& in) {
    std::vector<std::string> words;
    const bool ended = readWords(in, words);
    text = " ";
    for (const std::string& word : words) text += word + ' ';
    if (!ended) std::cerr << "Invalid .lvl!\n";
}

int Hint::touch(Player* player) {
    // The request is used up here even when there is nowhere to show the box.
    // Keys are named as they are bound when the box opens.
    if (player && player->takeHintRequest() && screen) showMessage(nameActions(text), screen);
    return TouchNothing;
}

#pragma once

#include "things/Thing.h"

#include <string>
#include <vector>

// A sign whose text shows in a message box when the Player asks at it.
// Parameters: the words of the text, ended by "Burmashave.".
class Hint final : public Thing {
public:
    Hint(int col, int row);
    void read(std::istream& in) override;
    // Reads the words of a hint's text up to the terminator, keeping each
    // as it comes. False where the text does not end: the stream fails or
    // ends, also right after the terminator.
    static bool readWords(std::istream& in, std::vector<std::string>& words);
    int touch(Player* player) override;

    void setScreen(SDL_Surface* target) { screen = target; }
    const std::string& getText() const { return text; }

private:
    std::string text;               // a blank before and after every word
    SDL_Surface* screen = nullptr;  // borrowed; where the message box draws
};

// The word that ends a hint text in a level file.
extern const char* const hintTerminator;  // "Burmashave."

#include "shell/DataFolder.h"
#include "shell/Game.h"

int main(int, char**) {
    // Without its data the game would only fall through an empty level forever.
    if (!enterDataFolder()) return 1;
    return runGame();
}

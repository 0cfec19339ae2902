#include "shell/Game.h"

int main(int, char**) {
    return runGame();
}

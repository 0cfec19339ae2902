#include "things/MenuOptions.h"
MenuOptions::MenuOptions(int col, int row) : Thing(col, row) {}
int MenuOptions::touch(Player*) { return 0; }

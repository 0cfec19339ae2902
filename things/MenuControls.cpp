#include "things/MenuControls.h"
MenuControls::MenuControls(int col, int row) : Thing(col, row) {}
int MenuControls::touch(Player*) { return 0; }

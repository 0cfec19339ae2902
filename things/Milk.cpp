#include "things/Milk.h"
Milk::Milk(int col, int row) : Thing(col, row) {}
int Milk::touch(Player*) { return 0; }

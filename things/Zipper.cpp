#include "things/Zipper.h"
Zipper::Zipper(int col, int row) : Chomper(col, row, "zipperanim", 2) {}

#pragma once

class Thing;

// Builds the object of a level-file kind (28 to 39) at grid cell (col, row),
// with its type set; null for any other kind. The caller owns it.
Thing* createThing(int kind, int col, int row);

#include "things/Zipper.h"

#include "level/Tiles.h"

namespace {
constexpr int zipperSpeed = 2;  // pixels per frame, twice a Chomper's
}  // namespace

Zipper::Zipper(int col, int row) : Chomper(col, row, kindImage(KindZipper), zipperSpeed) {}

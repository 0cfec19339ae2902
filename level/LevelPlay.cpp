#include "level/Level.h"
int Level::step() { return 0; }
void Level::draw() {}
void Level::drawTiles() {}
int Level::onExplosion(int, int) { return 0; }

#include "things/Chomper.h"
Chomper::Chomper(int col, int row) : Enemy(col, row), speed(1) {}
Chomper::Chomper(int col, int row, const char*, int s) : Enemy(col, row), speed(s) {}
void Chomper::update(const Grid&, const ThingList&) {}
void Chomper::draw(SDL_Surface*, const SDL_Rect*) {}
int chompPhase() { return 0; }
void resetChompClock() {}

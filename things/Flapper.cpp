#include "things/Flapper.h"
Flapper::Flapper(int col, int row) : Enemy(col, row) {}
void Flapper::update(const Grid&, const ThingList&) {}
void Flapper::draw(SDL_Surface*, const SDL_Rect*) {}
bool Flapper::isVulnerable(int, int) const { return false; }
void resetFlapClock() {}

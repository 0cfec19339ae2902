#include "things/Maimframe.h"
Maimframe::Maimframe(int col, int row) : Enemy(col, row) {}
void Maimframe::update(const Grid&, const ThingList&) {}
void Maimframe::draw(SDL_Surface*, const SDL_Rect*) {}
bool Maimframe::blocked(const Grid&) const { return false; }
void Maimframe::kill() { dead = true; }
bool Maimframe::isVulnerable(int, int) const { return false; }
int Maimframe::bobOffset(int) { return 0; }
bool Maimframe::movePixels(const Grid&, int, bool) { return true; }

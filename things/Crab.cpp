#include "things/Crab.h"
Crab::Crab(int col, int row) : Thing(col, row) {}
int Crab::touch(Player*) { return 0; }
void Crab::draw(SDL_Surface*, const SDL_Rect*) {}

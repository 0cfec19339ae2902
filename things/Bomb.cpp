#include "things/Bomb.h"
Bomb::Bomb(int, int) : Thing() {}
Bomb::~Bomb() {}
void Bomb::addListener(AsplosionListener* l) { listeners.push_back(l); }
void Bomb::update(const Grid&, const ThingList&) {}
void Bomb::draw(SDL_Surface*, const SDL_Rect*) {}
int Bomb::touch(Player*) { return 0; }
void Bomb::explode() {}

#include "things/Thing.h"
#include "menus/Settings.h"
Thing::Thing(int, int) { rect.x = 0; rect.y = 0; rect.w = Uint16(tileSize); rect.h = Uint16(tileSize); }
Thing::Thing() { rect.x = 0; rect.y = 0; rect.w = Uint16(tileSize); rect.h = Uint16(tileSize); }
void Thing::read(std::istream&) {}
Thing::~Thing() {}
void Thing::update(const Grid&, const ThingList&) {}
void Thing::draw(SDL_Surface*, const SDL_Rect*) {}
int Thing::touch(Player*) { return 0; }
void Thing::fitToImage() {}
SDL_Rect Thing::frameRect(int) { SDL_Rect r = {0, 0, 0, 0}; return r; }
std::istream& operator>>(std::istream& in, Thing& thing) { thing.read(in); return in; }

#include "things/Blobber.h"
Blobber::Blobber(int col, int row) : Enemy(col, row) {}
void Blobber::update(const Grid&, const ThingList&) {}
void Blobber::draw(SDL_Surface*, const SDL_Rect*) {}
bool Blobber::isVulnerable(int, int) const { return false; }
int blobStepX() { return 1; }
int blobStepY() { return -1; }
void resetBlobClock() {}

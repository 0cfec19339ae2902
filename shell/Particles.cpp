#include "shell/Particles.h"
std::list<Particle*> particles;
Particle::~Particle() {}
SDL_Color particleColour(Uint32 bgr) { SDL_Color c = {Uint8(bgr), Uint8(bgr >> 8), Uint8(bgr >> 16), 0}; return c; }
void spawnParticle(int, int, SDL_Color) {}
void stepParticles(SDL_Surface*, const SDL_Rect*) {}
void clearParticles() {}

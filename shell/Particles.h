#pragma once

#include <SDL.h>

#include <list>

// Short-lived coloured sparks thrown by air jumps and bombs. They fall under
// their own gravity, flicker in size and fade towards black for 100 frames.
struct Particle {
    int x;             // level pixels
    int y;             // level pixels
    int vx;            // pixels per frame
    int vy;            // pixels per frame
    SDL_Color colour;  // faded a sixteenth per frame
    int life;          // frames left; 100 at creation

    ~Particle();       // leaves `particles`
};

// Every live spark, in order of creation; the list owns them.
extern std::list<Particle*> particles;

// Packs a colour written as 0xBBGGRR (red in the lowest byte) into an SDL_Color.
SDL_Color particleColour(Uint32 bgr);

void spawnParticle(int x, int y, SDL_Color colour);

// Moves, fades, draws and expires every spark; once per drawn frame. With a
// null camera the screen's clip rectangle gives the offset.
void stepParticles(SDL_Surface* screen, const SDL_Rect* camera);

void clearParticles();

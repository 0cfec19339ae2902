#include "shell/Particles.h"

#include "media/Geometry.h"

#include <algorithm>
#include <cstdlib>

namespace {
constexpr int particleLife = 100;   // frames a spark lives
constexpr int spreadX = 30;         // horizontal launch speeds: -15..14 pixels per frame
constexpr int spreadY = 20;         // vertical launch speeds: -15..4 pixels per frame
constexpr int launchOffset = 15;    // shifts both ranges so most sparks fly up
constexpr int gravity = 1;          // pixels per frame added to vy each frame

// A sixteenth of the channel goes each frame, rounded down.
Uint8 fade(Uint8 value) {
    return static_cast<Uint8>((15 * value) >> 4);
}
}  // namespace

std::list<Particle*> particles;

Particle::~Particle() {
    // Sparks expire roughly in creation order, so the search usually stops at the front.
    const auto it = std::find(particles.begin(), particles.end(), this);
    if (it != particles.end()) particles.erase(it);
}

SDL_Color particleColour(Uint32 bgr) {
    SDL_Color colour;
    colour.r = static_cast<Uint8>(bgr & 0xFF);
    colour.g = static_cast<Uint8>((bgr >> 8) & 0xFF);
    colour.b = static_cast<Uint8>((bgr >> 16) & 0xFF);
    colour.unused = 0;
    return colour;
}

void spawnParticle(int x, int y, SDL_Color colour) {
    Particle* spark = new Particle;
    spark->x = x;
    spark->y = y;
    spark->colour = colour;
    spark->life = particleLife;
    // Two statements keep the order of the rand() calls fixed: vx first.
    spark->vx = std::rand() % spreadX - launchOffset;
    spark->vy = std::rand() % spreadY - launchOffset;
    particles.push_back(spark);
}

void stepParticles(SDL_Surface* screen, const SDL_Rect* camera) {
    int offsetX = 0;
    int offsetY = 0;
    if (camera) {
        offsetX = camera->x;
        offsetY = camera->y;
    } else if (screen) {
        offsetX = screen->clip_rect.x;
        offsetY = screen->clip_rect.y;
    }

    auto it = particles.begin();
    while (it != particles.end()) {
        Particle* spark = *it;
        // Step past the spark first: destroying it erases its own list entry.
        ++it;

        spark->life -= 1;
        if (spark->life < 0) {
            delete spark;
            continue;
        }

        spark->x += spark->vx;
        spark->vy += gravity;
        spark->y += spark->vy;

        SDL_Rect rect;
        rect.x = wrap16(spark->x - offsetX);
        rect.y = wrap16(spark->y - offsetY);
        rect.w = static_cast<Uint16>((spark->life & 3) + 1);
        rect.h = static_cast<Uint16>(((spark->life + 2) % 4) + 1);

        spark->colour.r = fade(spark->colour.r);
        spark->colour.g = fade(spark->colour.g);
        spark->colour.b = fade(spark->colour.b);

        if (screen) {
            SDL_FillRect(screen, &rect,
                         SDL_MapRGB(screen->format, spark->colour.r, spark->colour.g,
                                    spark->colour.b));
        }
    }
}

void clearParticles() {
    // Take the list first so each destructor finds nothing left to erase.
    std::list<Particle*> doomed;
    doomed.swap(particles);
    for (Particle* spark : doomed) delete spark;
}

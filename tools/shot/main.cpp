// curdovar-shot: plays a recorded run headless and keeps one drawn frame, the
// one where an object of the given kind stands about four tiles from the hero
// with both in view, as a BMP. For pictures of moments a player reaches only after minutes
// of play (the final fight), drawn by the game's own code.
//
//   curdovar-shot REPLAY KIND OUT.bmp
//
// Exit status 0 with the picture written, 1 when the kind never came into
// view, 2 on a usage or file error.
#include "level/Level.h"
#include "shell/Clock.h"
#include "tools/common/Headless.h"
#include "tools/common/Replay.h"

#include <cstdlib>
#include <iostream>
#include <limits>
#include <sstream>

namespace {

constexpr Uint32 stallLimitMs = 10000;  // a hint box nobody dismisses would wait forever
constexpr int pictureGapTiles = 4;      // near enough to face each other, apart enough to see both

void onStall() {
    std::cerr << "curdovar-shot: the run waits for a key it never gives\n";
    std::exit(1);
}

bool inView(const SDL_Rect& r) {
    return r.x >= camera.x && r.y >= camera.y && r.x + r.w <= camera.x + camera.w &&
           r.y + r.h <= camera.y + camera.h;
}

// How far, in pixels squared, the gap between the hero and the nearest object
// of the kind (both wholly in view) is from the picture's gap; -1 when there
// is no such pair.
long long missInView(const Level& level, int kind, int tileEdge) {
    const SDL_Rect* hero = level.getPlayer().getRect();
    if (!inView(*hero)) return -1;
    long long best = -1;
    for (const Thing* thing : level.getThings()) {
        if (thing->getType() != kind || !inView(*thing->getRect())) continue;
        const SDL_Rect* r = thing->getRect();
        const long long dx = (r->x + r->w / 2) - (hero->x + hero->w / 2);
        const long long dy = (r->y + r->h / 2) - (hero->y + hero->h / 2);
        const long long d = dx * dx + dy * dy;
        if (best < 0 || d < best) best = d;
    }
    if (best < 0) return -1;
    const long long gap = static_cast<long long>(pictureGapTiles) * tileEdge;
    return best > gap * gap ? best - gap * gap : gap * gap - best;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::cerr << "usage: curdovar-shot REPLAY KIND OUT.bmp\n";
        return 2;
    }
    const char* file = argv[1];
    const int kind = std::atoi(argv[2]);
    const char* outPath = argv[3];

    Replay replay;
    std::string error;
    if (!loadReplay(file, replay, error)) {
        std::cerr << file << ": " << error << '\n';
        return 2;
    }
    SDL_Surface* screen = startHeadless(replay.tileSize);
    if (!screen) return 2;
    setClockStallGuard(stallLimitMs, onStall);

    SDL_Surface* kept = SDL_CreateRGBSurface(SDL_SWSURFACE, screen->w, screen->h, 32, 0xff0000,
                                             0xff00, 0xff, 0);
    long long keptDistance = std::numeric_limits<long long>::max();
    int keptFrame = -1;
    int frame = 0;
    FrameObserver observer = [&](Level& level) {
        ++frame;
        const long long d = missInView(level, kind, replay.tileSize);
        if (d < 0 || d >= keptDistance) return;
        keptDistance = d;
        keptFrame = frame;
        SDL_BlitSurface(screen, nullptr, kept, nullptr);
    };
    // The game's progress lines would bury the one line this tool says.
    std::streambuf* gameOutput = std::cout.rdbuf();
    std::ostringstream swallowed;
    std::cout.rdbuf(swallowed.rdbuf());
    runReplay(replay, screen, nullptr, observer);
    std::cout.rdbuf(gameOutput);

    int status = 1;
    if (keptFrame < 0) {
        std::cerr << file << ": no object of kind " << kind << " came into view with the hero\n";
    } else if (SDL_SaveBMP(kept, outPath) != 0) {
        std::cerr << outPath << ": " << SDL_GetError() << '\n';
        status = 2;
    } else {
        std::cout << outPath << ": frame " << keptFrame << '\n';
        status = 0;
    }
    SDL_FreeSurface(kept);
    stopHeadless();
    return status;
}

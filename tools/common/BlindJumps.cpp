#include "tools/common/BlindJumps.h"

#include "level/Level.h"
#include "menus/Settings.h"
#include "shell/Clock.h"
#include "tools/common/Headless.h"

#include <iostream>
#include <sstream>

namespace {
// Whether the box shows at all in the view.
bool inView(const SDL_Rect& box, const SDL_Rect& view) {
    return box.x + box.w > view.x && box.x < view.x + view.w && box.y + box.h > view.y &&
           box.y < view.y + view.h;
}
}  // namespace

BlindJumps::BlindJumps(const Replay& replay) : inputs(framesOf(replay)), tile(replay.tileSize) {}

void BlindJumps::add(const Level& level, int frame) {
    if (frame < 1) return;
    if (static_cast<int>(frames.size()) < frame) frames.resize(static_cast<size_t>(frame));
    Seen& seen = frames[static_cast<size_t>(frame - 1)];
    const Player& hero = level.getPlayer();
    seen.grounded = hero.isGrounded();
    seen.hero = *hero.getRect();
    // The view the player had: the camera as this frame drew it, a window of 20 by 15 tiles.
    seen.view = camera;
    seen.view.w = static_cast<Uint16>(windowColumns * tile);
    seen.view.h = static_cast<Uint16>(windowRows * tile);
}

std::vector<BlindJump> BlindJumps::found() const {
    std::vector<BlindJump> blind;
    const int count = static_cast<int>(frames.size());
    // Input f is pressed in frame f + 1, seen as frames[f]; the player decided
    // on the picture of the frame before, frames[f - 1].
    for (int f = 1; f < count && f < static_cast<int>(inputs.size()); ++f) {
        // A press on the ground: the frame before it stood.
        if (!inputs[static_cast<size_t>(f)].jump || !frames[static_cast<size_t>(f - 1)].grounded)
            continue;
        for (int g = f; g < count; ++g) {
            const Seen& landing = frames[static_cast<size_t>(g)];
            if (!landing.grounded) continue;
            if (!inView(landing.hero, frames[static_cast<size_t>(f - 1)].view)) {
                BlindJump jump;
                jump.frame = f + 1;
                jump.column = (landing.hero.x + landing.hero.w / 2) / tile;
                jump.row = (landing.hero.y + landing.hero.h / 2) / tile;
                const SDL_Rect& from = frames[static_cast<size_t>(f - 1)].hero;
                jump.takeOffColumn = (from.x + from.w / 2) / tile;
                jump.takeOffRow = (from.y + from.h / 2) / tile;
                blind.push_back(jump);
            }
            break;
        }
    }
    return blind;
}

namespace {
// A sign's box the run never closes would wait for ever: a key closes it.
void closeStalledBox() { pressKey(SDLK_SPACE); }
constexpr Uint32 stallLimitMs = 10000;
}  // namespace

std::vector<BlindJump> blindJumpsOf(const Replay& replay, SDL_Surface* screen) {
    setClockStallGuard(stallLimitMs, closeStalledBox);
    BlindJumps jumps(replay);
    int frame = 0;
    std::ostringstream quiet;
    std::streambuf* out = std::cout.rdbuf(quiet.rdbuf());
    std::streambuf* err = std::cerr.rdbuf(quiet.rdbuf());
    runReplay(replay, screen, nullptr, [&](Level& level) { jumps.add(level, ++frame); });
    std::cout.rdbuf(out);
    std::cerr.rdbuf(err);
    setClockStallGuard(0, nullptr);
    return jumps.found();
}

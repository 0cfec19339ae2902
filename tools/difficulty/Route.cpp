#include "tools/difficulty/Route.h"

#include "level/Level.h"
#include "menus/Settings.h"
#include "tools/solve/Search.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <istream>
#include <string>
#include <ostream>

namespace {

constexpr float movingSpeed = 1.0f;  // pixels per frame: slower, a person times a wait instead
constexpr int landingLookFrames = 120;  // a jump's landing is looked for this far ahead

constexpr int otherKitTiles = 40;  // how far a point with another kit counts as

RoutePoint pointOf(const Level& level) {
    const Player& hero = level.getPlayer();
    return {hero.getRect()->x, hero.getRect()->y, hero.getVx(), hero.isGrounded(), kitOf(level)};
}

}  // namespace

int kitOf(const Level& level) {
    const Player& hero = level.getPlayer();
    return ((hero.getStatus() * 4 + hero.getForm()) * 64 + hero.getKeys()) * 64 + hero.getBombs();
}

bool Route::record(Level& level, const std::vector<FrameInput>& frames, bool toGoal) {
    points.clear();
    inputs.clear();
    const int lives = level.getPlayer().getLives();
    bool reached = false;
    for (const FrameInput& input : frames) {
        points.push_back(pointOf(level));
        inputs.push_back(input);
        reached = playFrame(level, input) == StepLevelDone;
        if (level.getPlayer().getLives() < lives) return false;
        if (reached) break;
    }
    if (toGoal && !reached) return false;
    points.push_back(pointOf(level));
    planIntents();
    return true;
}

void Route::planIntents() {
    plan.clear();
    FrameInput held;
    for (int f = 0; f < static_cast<int>(inputs.size()); ++f) {
        const FrameInput& in = inputs[f];
        if (f > 0 && in.holdsAsBefore(held) && !in.pressesAnything()) continue;
        held = in;
        Intent intent;
        intent.frame = f;
        intent.input = in;
        intent.x = points[f].x;
        intent.y = points[f].y;
        const float vx = points[f].vx;
        intent.direction = std::fabs(vx) < movingSpeed ? 0 : vx > 0 ? 1 : -1;
        // A place the hero passed already since the last change (running
        // back and forth) would say "now" too early: time that one instead.
        const int since = plan.empty() ? 0 : plan.back().frame;
        for (int g = since; g < f && intent.direction != 0; ++g)
            if ((points[g].x - intent.x) * intent.direction >= 0) intent.direction = 0;
        intent.jump = in.jump;
        if (in.jump) {
            const int last = std::min(frames(), f + landingLookFrames);
            for (int g = f + 2; g <= last; ++g) {
                if (points[g].grounded && !points[g - 1].grounded) {
                    intent.hasLanding = true;
                    intent.landX = points[g].x;
                    intent.landY = points[g].y;
                    break;
                }
            }
        }
        plan.push_back(intent);
    }
}

FrameInput Route::holdsAt(int frame) const {
    FrameInput f;
    if (inputs.empty()) return f;
    const FrameInput& in = inputs[std::clamp(frame, 0, static_cast<int>(inputs.size()) - 1)];
    f.left = in.left;
    f.right = in.right;
    f.explodeAll = in.explodeAll;
    return f;
}

int Route::nearest(const Level& level, int from, int to, int& distance) const {
    const Player& hero = level.getPlayer();
    const int x = hero.getRect()->x, y = hero.getRect()->y, kit = kitOf(level);
    from = std::max(0, from);
    to = std::min(frames(), to);
    int best = from;
    distance = 1 << 30;
    for (int f = from; f <= to; ++f) {
        // Standing against flying is a tile apart: a hero that never took
        // off belongs before the jump, not under its arc.
        const int d = std::abs(points[f].x - x) + std::abs(points[f].y - y) +
                      (hero.isGrounded() != points[f].grounded ? tileSize : 0) +
                      (kit != points[f].kit ? otherKitTiles * tileSize : 0);
        if (d <= distance) {
            distance = d;
            best = f;
        }
    }
    return best;
}

int Route::flightEnd(int frame) const {
    for (int f = std::max(frame, 0) + 1; f <= frames(); ++f)
        if (points[f].grounded) return f - 1;
    return frames();
}

int Route::standingFrom(int frame) const {
    int f = std::clamp(frame, 0, frames());
    while (f < frames() && !points[f].grounded) ++f;
    return f;
}

int Route::intentFrom(int frame) const {
    const auto at = std::lower_bound(plan.begin(), plan.end(), frame,
                                     [](const Intent& i, int f) { return i.frame < f; });
    return static_cast<int>(at - plan.begin());
}

void Route::write(std::ostream& out) const {
    out << points.size() << '\n';
    for (const RoutePoint& p : points)
        out << p.x << ' ' << p.y << ' ' << p.vx << ' ' << p.grounded << ' ' << p.kit << '\n';
    out << inputs.size() << '\n';
    for (const FrameInput& f : inputs)
        out << f.left << f.right << f.explodeAll << f.jump << f.queryHint << f.layBomb << f.dismiss << '\n';
}

bool Route::read(std::istream& in) {
    std::size_t count = 0;
    if (!(in >> count)) return false;
    points.assign(count, RoutePoint());
    for (RoutePoint& p : points)
        if (!(in >> p.x >> p.y >> p.vx >> p.grounded >> p.kit)) return false;
    if (!(in >> count) || count + 1 != points.size()) return false;
    inputs.assign(count, FrameInput());
    for (FrameInput& f : inputs) {
        std::string bits;
        if (!(in >> bits) || bits.size() != 7) return false;
        bool* fields[] = {&f.left, &f.right, &f.explodeAll, &f.jump, &f.queryHint, &f.layBomb, &f.dismiss};
        for (std::size_t i = 0; i < bits.size(); ++i) *fields[i] = bits[i] == '1';
    }
    planIntents();
    return true;
}

void Route::copyAims(const Route& other, int offset, int after) {
    for (Intent& intent : plan) {
        if (intent.frame <= after) continue;
        const int k = other.intentFrom(intent.frame - offset);
        if (k < static_cast<int>(other.plan.size()) && other.plan[k].frame == intent.frame - offset)
            intent.aim = other.plan[k].aim;
    }
}

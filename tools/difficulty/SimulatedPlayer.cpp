#include "tools/difficulty/SimulatedPlayer.h"

#include "level/Level.h"
#include "level/Tiles.h"
#include "menus/Settings.h"
#include "tools/solve/Search.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

constexpr int matchBackFrames = 10;     // the hero may have fallen this far behind the route
constexpr int matchAheadFrames = 60;    // ... or got this far ahead of it
// Distances below in 32nds of a tile.
constexpr int matchSlackTiles32 = 3;    // keeping time with the route wins over a place this much nearer
constexpr int onTimeTiles32 = 12;       // ... and over any place while the hero is this near the plan
constexpr double slipTiles = 1.5;       // farther than this from the route near it is a slip
constexpr int replanReachFrames = 300;  // after a slip the hero is looked for this far either way
constexpr int stuckFrames = 300;        // 10 s without getting further: the person gives up
constexpr int landingsWatched = 8;      // intents ahead whose landings the person looks out for
constexpr double blindSpreadFactor = 2; // a jump into the unseen is timed this much worse
constexpr int coastLookFrames = 8;      // how far along the route a new plan looks for the way
constexpr int coastTiles32 = 4;         // the route moving on by this much is a way to go
constexpr int steerTiles32 = 8;         // farther from the route than this, the person steers back
constexpr int offArcTiles32 = 32;       // in a jump, farther off the route's arc: the person aims for its landing
constexpr float stillSpeed = 0.5f;      // pixels per frame: slower is standing
constexpr int climbReachTiles = 2;      // a higher place this near is jumped to
constexpr int footLookTiles32 = 4;      // how far past its feet the person looks for a gap
constexpr float fallStepTiles = 0.05f;  // about the speed gravity adds in a frame, in tiles
constexpr int climbPatienceFrames = 60; // making for a place this long without getting there ...
constexpr int climbSkipFrames = 15;     // ... the person makes for the route this far on instead

// Distances are kept in 32nds of a tile, so both tile sizes play alike.
int pixels(int tiles32) { return tiles32 * tileSize / 32; }

bool inView(int x, int y) {
    const int cx = x + tileSize / 2, cy = y + tileSize / 2;
    return cx >= camera.x && cx < camera.x + camera.w && cy >= camera.y && cy < camera.y + camera.h;
}

bool pressesNewKey(const FrameInput& before, const FrameInput& now) {
    return now.jump || now.layBomb || now.queryHint || (now.left && !before.left) ||
           (now.right && !before.right);
}

}  // namespace

SimulatedPlayer::SimulatedPlayer(const Route& route, const FrameLimits& limits, std::uint64_t seed)
    : main(route), route(&route), limits(limits), random(seed), fired(route.intents().size(), -1),
      landingSeenAt(route.intents().size(), -1) {}

void SimulatedPlayer::knowWaysBack(const std::vector<RespawnRoute>& ways) { waysBack = &ways; }

double SimulatedPlayer::normal(double spread) {
    if (spread <= 0) return 0;
    return std::normal_distribution<double>(0.0, spread)(random);
}

void SimulatedPlayer::shiftNext(int frames) {
    late = frames;
    drawn = true;
}

AttemptResult SimulatedPlayer::play(Level& level, int maxFrames, int maxDeaths,
                                    const FrameHook& hook) {
    AttemptResult result;
    Player& hero = level.getPlayer();
    int lives = hero.getLives();
    for (; frame < maxFrames && frame <= endFrame; ++frame) {
        if (hook) hook(*this, frame);
        const int col = hero.getRect()->x / tileSize, row = hero.getRect()->y / tileSize;
        const int step = playFrame(level, decide(level));
        const bool died = hero.getLives() < lives;
        lives = hero.getLives();
        if (step == StepLevelDone) {
            result.finished = true;
            break;
        }
        if (died) {
            ++result.deaths;
            result.deathCells.push_back({col, row});
            if (result.deaths >= maxDeaths) break;
            respawned(level);
        }
        if (frame - furthestAt > stuckFrames) {
            result.stuck = true;
            result.stuckCell = {hero.getRect()->x / tileSize, hero.getRect()->y / tileSize};
            break;
        }
    }
    result.frames = frame + 1;
    return result;
}

FrameInput SimulatedPlayer::decide(const Level& level) {
    heroVy = level.getPlayer().getVy();
    heroX = level.getPlayer().getRect()->x;
    heroGrounded = level.getPlayer().isGrounded();
    fallStep = tileSize * fallStepTiles;
    match(level);
    watchLandings();
    FrameInput out;
    if (climbTo >= 0 && climb(level, out)) return out;
    if (resumePending && frame >= readyAt) {
        resumePending = false;
        held = resumeHolds();
    }
    if (frame >= pressReadyAt) fireDue(out);
    if (frame >= readyAt) {
        steer(level, out);
    } else {
        // Taking in something new, the person's hands stay as they are.
        out.left = steering < 0;
        out.right = steering > 0;
    }
    out.explodeAll = held.explodeAll;
    return out;
}

namespace {

// Whether there is something to stand on just past the hero's leading foot.
bool floorAhead(const Level& level, int way) {
    const SDL_Rect* box = level.getPlayer().getRect();
    const int foot = way > 0 ? box->x + box->w + pixels(footLookTiles32) : box->x - pixels(footLookTiles32);
    const int col = foot / tileSize, row = (box->y + box->h) / tileSize;
    if (foot < 0 || col >= level.getWidth() || row < 0 || row >= level.getHeight()) return false;
    const int cell = level.getGrid()[col][row];
    return blocksPlayer(cell) || cell == TilePlatform || cell == TileSpring;
}

}  // namespace

bool SimulatedPlayer::climb(const Level& level, FrameInput& out) {
    const Player& hero = level.getPlayer();
    if (climbTo != climbAimed) {
        climbAimed = climbTo;
        climbSince = frame;
    } else if (frame - climbSince > climbPatienceFrames) {
        // The place will not be reached from here (it lies under the ledge
        // the hero stands on, say): the person tries a place further on.
        climbTo = climbAimed = route->standingFrom(climbTo + climbSkipFrames);
        climbSince = frame;
    }
    const RoutePoint& target = route->path()[climbTo];
    const int dx = target.x - hero.getRect()->x, dy = target.y - hero.getRect()->y;
    if (hero.isGrounded() && std::abs(dx) <= tileSize / 2 && std::abs(dy) <= tileSize / 2) {
        // There: the route's plan from here on. The person meant to get
        // here, so there is nothing new to take in before the next press.
        const int at = climbTo;
        climbTo = -1;
        restartPlanAt(at, false, false);
        return false;
    }
    if (frame < readyAt) {
        out.left = steering < 0;
        out.right = steering > 0;
        return true;
    }
    // In the air near the place the person lets the jump carry on: braking
    // for an exact landing sends a hero at speed short of the far edge.
    const int slack = hero.isGrounded() ? tileSize / 4 : tileSize;
    int want = dx > slack ? 1 : dx < -slack ? -1 : 0;
    if (want == 0 && dy > tileSize / 2) {
        // Right above the place, on a ledge: on toward it until the hero drops,
        // or the way the route goes on when it lies straight down.
        const std::vector<RoutePoint>& path = route->path();
        want = dx != 0 ? (dx > 0 ? 1 : -1)
                       : path[std::min(route->frames(), climbTo + coastLookFrames)].x < target.x ? -1 : 1;
    }
    turn(want, out);
    // A place higher up and near is jumped to, and so is a wall in the way
    // or a gap at the hero's feet with the place beyond it.
    const bool above = dy < -tileSize / 2 && std::abs(dx) <= climbReachTiles * tileSize;
    const bool blocked = want != 0 && hero.getRect()->x == climbFromX;
    climbFromX = hero.getRect()->x;
    const bool gap = want != 0 && std::abs(dx) > tileSize && dy <= tileSize / 2 && !floorAhead(level, want);
    if (hero.isGrounded() && (above || blocked || gap) && frame >= lastPress + limits.minPressGapFrames) {
        out.jump = true;
        lastPress = frame;
    }
    return true;
}

void SimulatedPlayer::match(const Level& level) {
    const Player& hero = level.getPlayer();
    const bool grounded = hero.isGrounded();
    if (wayBack && progress >= route->frames() - 1) {
        // Back on the route: on along it from where the way back ends, with
        // the keys held as they are.
        const int along = wayBack->joinsAt + route->frames() - wayBack->joins;
        wayBack = nullptr;
        int distance = 0;
        const int at = main.nearest(level, along - matchBackFrames, along + matchAheadFrames, distance);
        follow(main);
        progress = furthest = at;
        furthestAt = progressAt = frame;
        next = main.intentFrom(at + 1);
        drawn = false;
        reachedAt = -1;
        flightAt = -1;
        const std::vector<RoutePoint>& path = main.path();
        if (!grounded && !path[at].grounded) {
            // In the air, as the route is there: the person flies on along its
            // arc, aiming from where the hero is now for the route's landing.
            int takeOff = at;
            while (takeOff > 0 && !path[takeOff].grounded) --takeOff;
            const int length = main.flightEnd(takeOff) - takeOff + 1;
            const int left = std::max(1, length - (at - takeOff));
            flightRouteFrame = takeOff;
            flightAt = frame - (at - takeOff);
            flightOffset = (heroX - path[at].x) * length / left;
        }
    }
    if (jumpPressedAt >= 0 && frame > jumpPressedAt) {
        // A jump took off when the hero rises faster than before the press.
        if (!grounded && hero.getVy() < pressVy - 2 * fallStep) {
            flightRouteFrame = jumpRouteFrame;
            flightAt = jumpPressedAt;
            flightOffset = pressX - route->path()[jumpRouteFrame].x;
        } else if (!grounded && route->path()[jumpRouteFrame].grounded) {
            // Pressed before the hero came down, the jump was lost: the
            // person sees it land without jumping and presses again.
            missedIntent = lastFired;
        }
        jumpPressedAt = -1;
    }
    if (missedIntent >= 0 && grounded) {
        next = missedIntent;
        missedIntent = -1;
        drawn = true;
        late = limits.reactionFrames + static_cast<int>(std::lround(normal(limits.pressSpreadFrames)));
        reachedAt = frame;
    }
    if (flightAt >= 0 && grounded) flightAt = -1;
    if (flightAt >= 0) {
        // In a jump the person follows the route's arc in time, from its own
        // take-off: how far it is off that arc is what it steers against.
        const int along = std::min(flightRouteFrame + frame - flightAt, route->flightEnd(flightRouteFrame));
        if (along > progress) {
            progress = along;
            progressAt = frame;
        }
        if (progress > furthest) {
            furthest = progress;
            furthestAt = frame;
        }
        return;
    }
    const int expected = std::min(progress + 1, route->frames());
    int best = 0;
    const int at = route->nearest(level, progress - matchBackFrames, progress + matchAheadFrames, best);
    int onTime = 0;
    route->nearest(level, expected, expected, onTime);
    // The person keeps the plan's time while the hero is about where the
    // plan has it; only a hero clearly elsewhere moves the plan by place.
    int now = onTime <= best + pixels(matchSlackTiles32) || onTime <= pixels(onTimeTiles32) ? expected : at;
    // A jump whose moment has come and whose press is on its way (late, at
    // full speed, the hero runs on past the route's take-off) is no slip.
    const bool jumpNext = next < static_cast<int>(route->intents().size()) && route->intents()[next].input.jump;
    const bool jumpComing = jumpNext && (reachedAt >= 0 ? frame <= reachedAt + std::max(late, 0) + 1
                                                        : at >= route->intents()[next].frame);
    if (best > slipTiles * tileSize && !(grounded && jumpComing)) {
        // Off the route: the person takes in where the hero is and plans from there.
        now = route->nearest(level, progress - replanReachFrames, progress + replanReachFrames, best);
        // A hero on the ground where the route flies has missed its
        // landing: the person makes for where the route lands next.
        const std::vector<RoutePoint>& path = route->path();
        if (grounded && !path[now].grounded) {
            climbTo = route->standingFrom(now);
            progress = now;
            return;
        }
        // A new plan gets a reaction time to act before the next one, and a
        // press already under way (its moment reached) still comes.
        if (frame > readyAt + limits.reactionFrames && reachedAt < 0) restartPlanAt(now, false);
        else progress = now;
        return;
    }
    // A hero a little behind keeps its place on the route; it catches up.
    if (now > progress) progressAt = frame;
    progress = std::max(progress, now);
    // The plan has stopped while the route goes on: a jump that did not
    // happen, a key that did nothing. The person sees it and tries again.
    const std::vector<RoutePoint>& path = route->path();
    const RoutePoint& later = path[std::min(route->frames(), progress + coastLookFrames)];
    const bool routeMoves = std::abs(later.x - path[progress].x) + std::abs(later.y - path[progress].y) > pixels(coastTiles32);
    if (routeMoves && frame >= readyAt && reachedAt < 0 &&
        frame > progressAt + limits.reactionFrames + coastLookFrames) {
        // The person makes for where the route stands next, a little on.
        climbTo = route->standingFrom(progress + coastLookFrames);
        progressAt = frame;
    }
    if (progress > furthest) {
        furthest = progress;
        furthestAt = frame;
    }
}

void SimulatedPlayer::respawned(const Level& level) {
    flightAt = jumpPressedAt = missedIntent = climbTo = -1;
    // Back at a curdotree, the person knows the way from there.
    const Player& hero = level.getPlayer();
    if (waysBack) {
        for (const RespawnRoute& way : *waysBack) {
            if (way.x != hero.getRespawnX() || way.y != hero.getRespawnY()) continue;
            follow(way.route);
            wayBack = &way;
            restartPlanAt(0, true);
            furthestAt = frame;
            return;
        }
    }
    wayBack = nullptr;
    if (route != &main) {
        // Back at the start: the route from its beginning.
        follow(main);
        restartPlanAt(0, true);
        furthestAt = frame;
        return;
    }
    int distance = 0;
    // The respawn point lies behind: the start or a curdotree passed.
    const int at = route->nearest(level, 0, std::max(progress, 0), distance);
    restartPlanAt(at, true);
    // Getting on counts from the respawn point: the way back to where the
    // last life got to may well take longer than the patience for a stop.
    furthest = at;
    furthestAt = frame;
}

void SimulatedPlayer::follow(const Route& way) {
    route = &way;
    progress = -1;
    furthest = -1;
    fired.assign(way.intents().size(), -1);
    landingSeenAt.assign(way.intents().size(), -1);
}

void SimulatedPlayer::restartPlanAt(int routeFrame, bool letGo, bool react) {
    progress = routeFrame;
    const int was = next;
    next = route->intentFrom(routeFrame);
    // A slip that leaves the same press ahead keeps its chosen timing; a
    // death or another press ahead is a new approach, timed anew.
    if (letGo || next != was) drawn = false;
    reachedAt = -1;
    // A surprised person lets go after a death; after a slip it holds on
    // while it takes in where the hero is, then keeps the route's keys there.
    if (letGo) {
        held = FrameInput();
        steering = 0;
    }
    readyAt = frame + 1 + (react ? limits.reactionFrames : 0);
    // After a slip the press the person has been getting ready for still
    // comes on time; after a death everything waits.
    pressReadyAt = letGo ? readyAt : frame;
    resumePending = true;
    offCourseSince = -1;
}

FrameInput SimulatedPlayer::resumeHolds() const {
    // The route's keys where the hero stands; where the route coasts on
    // with no key held, a hero that has lost its speed needs one.
    const int at = std::max(progress, 0);
    FrameInput keys = route->holdsAt(at);
    const std::vector<RoutePoint>& path = route->path();
    const int way = path[std::min(route->frames(), at + coastLookFrames)].x - path[at].x;
    if (!keys.left && !keys.right) {
        keys.right = way > pixels(coastTiles32);
        keys.left = way < -pixels(coastTiles32);
    }
    return keys;
}

void SimulatedPlayer::steer(const Level& level, FrameInput& out) {
    // The plan's keys, corrected toward where the route has the hero now:
    // after an early or late jump, a bump or a stop, the person steers back.
    const int x = level.getPlayer().getRect()->x;
    int target = progress < 0 ? x : route->path()[progress].x;
    if (flightAt >= 0) {
        // In a jump taken off elsewhere, the person follows the arc from its
        // own take-off, drawn over to the route's as the jump goes on ...
        const int length = route->flightEnd(flightRouteFrame) - flightRouteFrame + 1;
        const int left = std::max(0, length - (progress - flightRouteFrame));
        target += flightOffset * left / length;
        // ... and once well off that arc, aims for the landing itself: short
        // of it they push on, past it they pull back.
        if (std::abs(target - x) > pixels(offArcTiles32))
            target = route->path()[route->flightEnd(flightRouteFrame)].x;
    }
    const int error = target - x;
    int want = held.right ? 1 : held.left ? -1 : 0;
    // Standing still off the route's place (short of the goal, say) is off course too.
    const bool standing = std::fabs(level.getPlayer().getVx()) < stillSpeed && error != 0;
    if (std::abs(error) > pixels(steerTiles32) || standing) {
        if (offCourseSince < 0) offCourseSince = frame;
        if (frame >= offCourseSince + limits.reactionFrames) want = error > 0 ? 1 : -1;
    } else {
        offCourseSince = -1;
    }
    turn(want, out);
}

void SimulatedPlayer::turn(int want, FrameInput& out) {
    // A new direction key is a press, and presses come no faster than the
    // person's limit; letting go is free.
    const bool newKey = (want > 0 && steering <= 0) || (want < 0 && steering >= 0);
    if (want != steering && (!newKey || frame >= lastPress + limits.minPressGapFrames)) {
        if (newKey) lastPress = frame;
        steering = want;
    }
    out.left = steering < 0;
    out.right = steering > 0;
}

void SimulatedPlayer::watchLandings() {
    // Landings in view are remembered for the next lives too.
    const int intents = static_cast<int>(route->intents().size());
    for (int k = next; k < std::min(intents, next + landingsWatched); ++k) {
        const Intent& ahead = route->intents()[k];
        if (ahead.hasLanding && landingSeenAt[k] < 0 && inView(ahead.landX, ahead.landY))
            landingSeenAt[k] = frame;
    }
}

int SimulatedPlayer::lateness() {
    const Intent& intent = route->intents()[next];
    // A jump whose landing the person has not seen (or only just) is a
    // guess: its press spreads wider.
    const int seen = landingSeenAt[next];
    const bool blind = intent.hasLanding && (seen < 0 || frame - seen < limits.reactionFrames);
    double spread = limits.pressSpreadFrames * (blind ? blindSpreadFactor : 1);
    // Practice has taught every player where the safe moments lie: it aims
    // at their middle.
    double offset = normal(spread) + intent.aim;
    // After a wait the person's sense of time stretches or shrinks the wait.
    if (intent.direction == 0 && next > 0) {
        const int wait = intent.frame - route->intents()[next - 1].frame;
        offset += wait * normal(limits.holdNoise);
    }
    return static_cast<int>(std::lround(offset));
}

bool SimulatedPlayer::lateBy(const Intent& intent) {
    // Late is counted in the person's time from the moment the hero got
    // there, not along the route, which may not go on without the press.
    if (reachedAt < 0 && progress >= intent.frame) reachedAt = frame;
    return reachedAt >= 0 && frame >= reachedAt + late;
}

bool SimulatedPlayer::fireDue(FrameInput& out) {
    if (next >= static_cast<int>(route->intents().size())) return false;
    if (!drawn) {
        late = lateness();
        drawn = true;
    }
    const Intent& intent = route->intents()[next];
    if (late <= 0 ? progress < intent.frame + late : !lateBy(intent)) {
        return false;
    } else if (pressesNewKey(held, intent.input) && frame < lastPress + limits.minPressGapFrames) {
        return false;
    }
    if (intent.input.jump && route->path()[intent.frame].grounded) {
        // The moment has come while the hero is still in the air where the
        // route stands (the last jump went long): the person jumps again
        // once down, a little after the landing.
        if (!heroGrounded) {
            landedPressAt = -2;
            return false;
        }
        if (landedPressAt == -2)
            landedPressAt = frame + static_cast<int>(std::lround(std::fabs(normal(limits.pressSpreadFrames))));
        if (frame < landedPressAt) return false;
    }
    landedPressAt = -1;
    if (pressesNewKey(held, intent.input)) lastPress = frame;
    held = intent.input;
    held.jump = held.layBomb = held.queryHint = held.dismiss = false;
    out.jump = intent.input.jump;
    if (out.jump) {
        jumpRouteFrame = intent.frame;
        jumpPressedAt = frame;
        pressVy = heroVy;
        pressX = heroX;
    }
    lastFired = next;
    out.layBomb = intent.input.layBomb;
    out.queryHint = intent.input.queryHint;
    // A box a hint opens is closed at once, as the route's own run did.
    out.dismiss = intent.input.queryHint || intent.input.dismiss;
    fired[next] = frame;
    ++next;
    drawn = false;
    reachedAt = -1;
    return true;
}

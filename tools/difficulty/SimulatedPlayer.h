#pragma once

#include "tools/common/FrameInput.h"
#include "tools/difficulty/HumanProfile.h"
#include "tools/difficulty/Route.h"

#include <cstdint>
#include <functional>
#include <random>
#include <utility>
#include <vector>

class Level;

// How one simulated person fared in one go at a level, with respawns.
struct AttemptResult {
    bool finished = false;  // reached the goal
    bool stuck = false;     // gave up: no progress for a long while
    int deaths = 0;
    int frames = 0;
    std::vector<std::pair<int, int>> deathCells;  // where the hero stood the frame before each death
    std::pair<int, int> stuckCell;  // where the hero stood when the person gave up
};

// One simulated person playing a level in a closed loop. Each frame it
// looks at where the hero is, finds that place on the route, and keeps to
// the route's keys there, changing them with its own timing: a normal
// spread around each planned press (wider for a jump whose landing it has
// not seen in the camera's view), noisy waits, a limit on presses a second
// and a reaction time after a death, a slip off the route or a stop. In a
// jump it steers against the route's arc; a jump pressed in the air is lost
// and pressed again on landing; off the route it makes for where the route
// stands next; after a death at a curdotree it takes that tree's way back.
// It never plays a list of frames.
class SimulatedPlayer {
public:
    SimulatedPlayer(const Route& route, const FrameLimits& limits, std::uint64_t seed);

    // The ways back from curdotrees, taken after a death there.
    void knowWaysBack(const std::vector<RespawnRoute>& ways);

    // Called before each frame; a probe uses it to fork and shift a press.
    using FrameHook = std::function<void(SimulatedPlayer&, int frame)>;

    // Plays the loaded level until the goal, maxDeaths deaths, being stuck or
    // maxFrames frames.
    AttemptResult play(Level& level, int maxFrames, int maxDeaths, const FrameHook& hook = {});

    // The probe's handles. The intent worked toward; shiftNext times it
    // exactly this many frames after its moment, with no noise and no aim.
    int upcoming() const { return next; }
    void shiftNext(int frames);
    void endAt(int frame) { endFrame = frame; }
    // This player's frame each intent was last pressed in, -1 for never.
    const std::vector<int>& pressFrames() const { return fired; }
    // The route frame the hero was last matched to.
    int routeFrame() const { return progress; }

private:
    // The keys for the coming frame from what the hero and the view show now.
    FrameInput decide(const Level& level);
    // Finds the hero on the route; after a jump back or ahead, the plan follows.
    void match(const Level& level);
    // After a frame with a death: the plan starts again from the respawn point.
    void respawned(const Level& level);
    // letGo: all keys are let go (a death); react: a reaction time passes
    // before the next key (not when the hero got where the person meant).
    void restartPlanAt(int routeFrame, bool letGo, bool react = true);
    void follow(const Route& way);
    // The keys toward climbTo; false once there (the plan goes on from it).
    bool climb(const Level& level, FrameInput& out);
    // The keys to take up again after a new plan.
    FrameInput resumeHolds() const;
    // The direction keys of the frame: the plan's, or back toward the route.
    void steer(const Level& level, FrameInput& out);
    // The direction keys toward want (-1, 0, +1), as fast as presses may come.
    void turn(int want, FrameInput& out);
    void watchLandings();
    // Frames after its route moment that the next intent's press comes.
    int lateness();
    bool fireDue(FrameInput& out);
    bool lateBy(const Intent& intent);
    double normal(double spread);

    const Route& main;
    const Route* route;  // the one followed: the main one or a way back from a curdotree
    const std::vector<RespawnRoute>* waysBack = nullptr;
    const RespawnRoute* wayBack = nullptr;  // the one followed now, if any
    const FrameLimits limits;
    std::mt19937_64 random;

    int frame = 0;             // this player's own frames
    int progress = -1;         // the route frame the hero stands at
    int progressAt = 0;        // own frame the hero last moved on along the route
    int furthest = -1;         // the furthest route frame reached
    int furthestAt = 0;        // own frame it was reached
    int next = 0;              // the intent it works toward
    bool drawn = false;        // the next intent's timing is chosen
    int late = 0;              // ... frames after its route moment (negative: before)
    int reachedAt = -1;        // own frame the hero reached the next intent's moment
    FrameInput held;           // the keys it holds
    int lastPress = -1000;     // own frame of the last new key press
    int readyAt = 0;           // reacting until then: no new keys ...
    int pressReadyAt = 0;      // ... and no planned press
    int offCourseSince = -1;   // own frame the hero strayed from the route sideways
    int steering = 0;          // the direction key held in the last frame: -1, 0, +1
    bool resumePending = false; // after a death the route's keys come back at readyAt
    int endFrame = 1 << 30;
    int jumpRouteFrame = -1;   // route frame of the last jump pressed ...
    int jumpPressedAt = -1;    // ... and own frame, until the next frame shows whether it took off
    int flightRouteFrame = -1; // in a jump: the route frame it was pressed at
    int flightAt = -1;         // ... and own frame; -1 when not in a jump
    bool heroGrounded = false; // the hero stands, before this frame
    int landedPressAt = -1;    // a jump due in the air comes at this own frame; -2: not down yet
    int heroX = 0;             // the hero's x before this frame ...
    int pressX = 0;            // ... and before the last jump press
    int flightOffset = 0;      // in a jump: how far from the route's take-off it took off
    float heroVy = 0;          // the hero's vertical speed before this frame ...
    float pressVy = 0;         // ... and before the last jump press
    float fallStep = 0;        // pixels per frame a jump outdoes a fall by, at least
    int lastFired = -1;        // the intent pressed last
    int climbTo = -1;          // off the route: the route frame the person makes for
    int climbFromX = -1;       // the hero's x in the frame before, while climbing
    int climbAimed = -1;       // the place climbed to since climbSince ...
    int climbSince = 0;        // ... own frame
    int missedIntent = -1;     // a jump pressed in the air and lost: pressed again on landing
    std::vector<int> fired;
    std::vector<int> landingSeenAt;  // per intent: own frame its landing first showed, -1 never
};

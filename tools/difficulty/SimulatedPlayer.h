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
};

// One simulated person playing a level in a closed loop. Each frame it
// looks at where the hero is, finds that place on the route, and keeps to
// the route's keys there, changing them with its own timing: a normal
// spread around each planned press (wider for a jump whose landing it has
// not seen in the camera's view), noisy waits, a limit on presses a second
// and a reaction time after a death, a slip off the route or a stop. It
// never plays a list of frames: when the hero is early, late, bumped or
// respawned, the keys follow from where it stands.
class SimulatedPlayer {
public:
    SimulatedPlayer(const Route& route, const FrameLimits& limits, std::uint64_t seed);

    // Called before each frame; a probe uses it to fork and force a press.
    using FrameHook = std::function<void(SimulatedPlayer&, int frame)>;

    // Plays the loaded level until the goal, maxDeaths deaths, being stuck or
    // maxFrames frames.
    AttemptResult play(Level& level, int maxFrames, int maxDeaths, const FrameHook& hook = {});

    // The probe's handles: intent k is pressed exactly at this player's
    // frame f, and play ends after frame end.
    void forcePress(int intent, int frameAt);
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
    void restartPlanAt(int routeFrame, bool letGo);
    // The keys to take up again after a new plan.
    FrameInput resumeHolds() const;
    // The direction keys of the frame: the plan's, or back toward the route.
    void steer(const Level& level, FrameInput& out);
    void watchLandings();
    // Frames after its route moment that the next intent's press comes.
    int lateness();
    bool fireDue(FrameInput& out);
    bool lateBy(const Intent& intent);
    double normal(double spread);

    const Route& route;
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
    int readyAt = 0;           // reacting until then: no new keys
    int offCourseSince = -1;   // own frame the hero strayed from the route sideways
    int steering = 0;          // the direction key held in the last frame: -1, 0, +1
    int forcedIntent = -1, forcedFrame = 0;
    bool resumePending = false; // after a death the route's keys come back at readyAt
    int endFrame = 1 << 30;
    std::vector<int> fired;
    std::vector<int> landingSeenAt;  // per intent: own frame its landing first showed, -1 never
};

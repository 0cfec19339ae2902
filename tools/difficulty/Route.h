#pragma once

#include "tools/common/FrameInput.h"

#include <iosfwd>
#include <vector>

class Level;

// Where the hero stands before a frame of the solving run.
struct RoutePoint {
    int x = 0;
    int y = 0;
    float vx = 0;
    bool grounded = false;
    int kit = 0;  // status, form, keys and bombs in one number (kitOf)
};

// What the hero carries and is, as one number: two points of the route
// with different kits are different places in the plan, however near.
int kitOf(const Level& level);

// One change of the keys along the route, as a person would plan it: "at
// this place (or this long after the last change), hold these keys and
// press these". Running keys are pressed where the hero passes a place;
// from a standstill they come after a wait.
struct Intent {
    int frame = 0;          // the route frame it happened in
    FrameInput input;       // the keys held from then on, and the presses of that frame
    int x = 0, y = 0;       // the hero before that frame
    int direction = 0;      // -1 or +1: pressed where the hero passes x moving so; 0: after a wait
    bool jump = false;
    bool hasLanding = false;  // a jump whose landing the route shows
    int landX = 0, landY = 0;
    // Frames after its route moment a practised player aims the press: the
    // middle of the moments that still get through (the solver's own press
    // often sits at one end of them).
    int aim = 0;
};

// The solving run of a level, as the intents a player follows and the path
// the hero takes, against which a player sees how far it has strayed.
class Route {
public:
    // Plays frames on a freshly loaded level (the caller's; it is used up)
    // until the goal. False when the frames never reach it (with toGoal) or
    // the hero dies on the way.
    bool record(Level& level, const std::vector<FrameInput>& frames, bool toGoal = true);

    // As text, so that a route learned in a copy of the process comes back.
    void write(std::ostream& out) const;
    bool read(std::istream& in);

    const std::vector<RoutePoint>& path() const { return points; }
    const std::vector<FrameInput>& keys() const { return inputs; }
    const std::vector<Intent>& intents() const { return plan; }
    int frames() const { return static_cast<int>(points.size()) - 1; }
    // The keys held during a frame (no presses).
    FrameInput holdsAt(int frame) const;
    // The route frame in [from, to] whose hero stands nearest the level's
    // hero: a tile farther when it flies where this one stands or the other
    // way round, far away when its kit differs; the latest of equals. Its
    // distance in pixels in distance.
    int nearest(const Level& level, int from, int to, int& distance) const;
    // The last route frame before the hero stands again after frame (the
    // route's own landing of a jump from there), or the last frame.
    int flightEnd(int frame) const;
    // The first route frame at or after frame (clamped to the route) where
    // the hero stands, or the last frame.
    int standingFrom(int frame) const;
    // The first intent at or after a route frame.
    int intentFrom(int frame) const;
    void aimAt(int intent, int frames) { plan[intent].aim = frames; }
    // Each intent after route frame after takes the aim of the intent of
    // other at its frame less offset, where there is one.
    void copyAims(const Route& other, int offset, int after);

private:
    void planIntents();

    std::vector<RoutePoint> points;  // before each frame, and after the last
    std::vector<FrameInput> inputs;  // what the run gave in each frame
    std::vector<Intent> plan;
};

// The way a person takes after a death at one respawn point: from standing
// there back into the solving run, then on along it.
struct RespawnRoute {
    int x = 0, y = 0;  // the respawn point
    int joins = 0;     // the frame of this route where the solving run's keys take over ...
    int joinsAt = 0;   // ... and the solving run's frame they take over at
    Route route;
};

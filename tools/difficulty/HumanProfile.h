#pragma once

#include <string>
#include <vector>

// The limits of one kind of player, in the player's own time (milliseconds),
// so that a slower game speed buys them more frames.
struct HumanProfile {
    std::string name;
    double reactionMs = 250;      // from something new on screen to the first key
    double pressSpreadMs = 45;    // standard deviation of a planned press around its moment
    double holdNoise = 0.10;      // standard deviation of a timed hold, as a share of its length
    double pressesPerSecond = 7;  // fastest rate of new key presses; 0: no limit
};

// novice, casual and expert, in that order.
const std::vector<HumanProfile>& humanProfiles();
// No limits and no noise: the route itself, played by the same loop.
HumanProfile flawlessProfile();
// A profile by name (the three above and "flawless"); false when unknown.
bool profileNamed(const std::string& name, HumanProfile& out);

// The game's frame period as the player lives it at a speed in per cent of
// the normal one: at 50 % a 33 ms frame lasts 66 ms.
double frameMsAt(int speedPercent);

// A profile's limits in frames at one game speed.
struct FrameLimits {
    int reactionFrames = 0;
    double pressSpreadFrames = 0;
    double holdNoise = 0;
    int minPressGapFrames = 0;  // frames between two new presses at least
};
FrameLimits limitsAt(const HumanProfile& profile, int speedPercent);

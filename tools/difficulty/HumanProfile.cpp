#include "tools/difficulty/HumanProfile.h"

#include <cmath>

namespace {

constexpr double gameFrameMs = 33;  // the game's frame period at full speed

}  // namespace

// Why these numbers:
// - Reaction: simple visual reaction times sit around 200-250 ms for young
//   adults and grow with age and inattention; a choice (which key, when) adds
//   to that. The expert gets the fast end, the novice a distracted 350 ms.
// - Press spread: a press timed to a moving event (coincidence anticipation)
//   misses by some tens of milliseconds; trained players stay near 25 ms,
//   people new to a game nearer 70 ms. The spread is a normal distribution.
// - Hold noise: timing a wait of a second or so varies by roughly a tenth of
//   its length (the scalar property of interval timing); more for a novice.
// - Presses a second: tapping one key reaches 6-7 a second for most people,
//   10 for practised players; a novice looking at the keys manages fewer.
const std::vector<HumanProfile>& humanProfiles() {
    static const std::vector<HumanProfile> profiles = {
        {"novice", 350, 70, 0.20, 5},
        {"casual", 250, 45, 0.10, 7},
        {"expert", 200, 25, 0.05, 10},
    };
    return profiles;
}

HumanProfile flawlessProfile() { return {"flawless", 0, 0, 0, 0}; }

bool profileNamed(const std::string& name, HumanProfile& out) {
    for (const HumanProfile& p : humanProfiles()) {
        if (p.name == name) {
            out = p;
            return true;
        }
    }
    if (name == "flawless") {
        out = flawlessProfile();
        return true;
    }
    return false;
}

double frameMsAt(int speedPercent) { return gameFrameMs * 100.0 / speedPercent; }

FrameLimits limitsAt(const HumanProfile& profile, int speedPercent) {
    const double frameMs = frameMsAt(speedPercent);
    FrameLimits limits;
    limits.reactionFrames = static_cast<int>(std::lround(profile.reactionMs / frameMs));
    limits.pressSpreadFrames = profile.pressSpreadMs / frameMs;
    limits.holdNoise = profile.holdNoise;
    if (profile.pressesPerSecond > 0)
        limits.minPressGapFrames =
            static_cast<int>(std::ceil(1000.0 / profile.pressesPerSecond / frameMs));
    return limits;
}

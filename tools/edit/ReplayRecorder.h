#pragma once

#include <string>
#include <vector>

// What the player did in one frame of a play-test, in the replay's terms.
struct FrameInput {
    bool left = false;
    bool right = false;
    bool explodeAll = false;
    bool jump = false;       // pressed in this frame
    bool queryHint = false;  // pressed in this frame
    bool layBomb = false;    // pressed in this frame
    bool dismiss = false;    // a hint box opened in this frame and was closed at once

    bool pressesAnything() const { return jump || queryHint || layBomb || dismiss; }
    bool holdsAsBefore(const FrameInput& other) const {
        return left == other.left && right == other.right && explodeAll == other.explodeAll;
    }
};

// Collects a play-test's input frame by frame and writes it as a replay
// that curdovar-replay plays the same way: a run of frames for each stretch
// of keys held, a new run at every press.
class ReplayRecorder {
public:
    void add(const FrameInput& input);
    // The last frame added opened a hint box, which was closed.
    void markDismissed();
    int frames() const { return static_cast<int>(inputs.size()); }
    std::string text(const std::string& levelPath, int tileEdge) const;

private:
    std::vector<FrameInput> inputs;
};

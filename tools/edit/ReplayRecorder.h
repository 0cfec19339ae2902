#pragma once

#include "tools/common/FrameInput.h"

#include <string>
#include <vector>


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

#include "tools/edit/ReplayRecorder.h"

#include "tools/common/Replay.h"

#include <sstream>

void ReplayRecorder::add(const FrameInput& input) { inputs.push_back(input); }

void ReplayRecorder::markDismissed() {
    if (!inputs.empty()) inputs.back().dismiss = true;
}

std::string ReplayRecorder::text(const std::string& levelPath, int tileEdge) const {
    std::ostringstream out;
    out << "# played in curdovar-edit\n"
        << "level " << levelPath << "\n"
        << "tilesize " << tileEdge << "\n"
        << "expect goal\n";
    writeRuns(out, inputs);
    return out.str();
}

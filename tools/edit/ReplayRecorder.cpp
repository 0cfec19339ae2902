#include "tools/edit/ReplayRecorder.h"

#include <sstream>

namespace {

std::string runInputs(const FrameInput& input) {
    std::string words;
    const auto add = [&](bool on, const char* letter) {
        if (!on) return;
        if (!words.empty()) words += ' ';
        words += letter;
    };
    add(input.left, "L");
    add(input.right, "R");
    add(input.explodeAll, "X");
    add(input.jump, "J");
    add(input.queryHint, "Q");
    add(input.layBomb, "B");
    add(input.dismiss, "D");
    return words.empty() ? "-" : words;
}

}  // namespace

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
    size_t i = 0;
    while (i < inputs.size()) {
        size_t end = i + 1;
        while (end < inputs.size() && !inputs[end].pressesAnything() &&
               inputs[end].holdsAsBefore(inputs[i]))
            ++end;
        out << end - i << ' ' << runInputs(inputs[i]) << '\n';
        i = end;
    }
    return out.str();
}

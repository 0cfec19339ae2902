#pragma once

// What the player does in one frame, in a replay's terms: the one input type
// of every tool that plays, records or searches runs.
struct FrameInput {
    bool left = false;
    bool right = false;
    bool explodeAll = false;  // held
    bool jump = false;        // pressed in this frame
    bool queryHint = false;   // pressed in this frame
    bool layBomb = false;     // pressed in this frame
    bool dismiss = false;     // a hint box opened in this frame and was closed at once

    bool pressesAnything() const { return jump || queryHint || layBomb || dismiss; }
    bool holdsAsBefore(const FrameInput& other) const {
        return left == other.left && right == other.right && explodeAll == other.explodeAll;
    }
};

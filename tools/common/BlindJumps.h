#pragma once

#include "tools/common/Replay.h"

#include <SDL.h>

#include <vector>

// Jumps a player takes without seeing where they land: along a run, a jump
// pressed on the ground whose landing (where the hero next stands) lies
// wholly outside the view at the moment of the press.
struct BlindJump {
    int frame = 0;   // the press, 1 for the first frame
    int column = 0;  // the landing's cell (the hero's centre)
    int row = 0;
    int takeOffColumn = 0;  // the cell the hero stood in at the press
    int takeOffRow = 0;
};

class BlindJumps {
public:
    // The run's inputs, frame by frame, to know where the presses are.
    explicit BlindJumps(const Replay& replay);
    // What frame `frame` (1 is the first) left: the hero and the view.
    void add(const Level& level, int frame);
    // The blind jumps of the frames seen.
    std::vector<BlindJump> found() const;

private:
    struct Seen {
        bool grounded = false;
        SDL_Rect hero = {0, 0, 0, 0};
        SDL_Rect view = {0, 0, 0, 0};
    };
    std::vector<FrameInput> inputs;
    std::vector<Seen> frames;  // index 0 is frame 1
    int tile = 32;
};

// Plays the replay headless on `screen` (opened at the replay's tile size)
// and returns its blind jumps; the game's own lines are kept quiet.
std::vector<BlindJump> blindJumpsOf(const Replay& replay, SDL_Surface* screen);

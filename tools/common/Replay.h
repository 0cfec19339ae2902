#pragma once

#include "shell/Game.h"
#include "tools/common/FrameInput.h"

#include <SDL.h>

#include <iosfwd>
#include <string>
#include <vector>

// Recorded input for one level, replayed headless frame by frame.
//
// A replay is a text file:
//   # comment
//   level data/levels/level01.lvl
//   tilesize 32
//   expect goal            (goal: reach the goal; survive: run every frame without dying)
//   40 R                   (a run: frame count, then what is held or pressed)
//   1 R J
//   12 -                   (- : nothing)
// Inputs of a run: L and R hold Left and Right, X holds Explode All for the
// whole run; J, Q and B press Jump, Query Hint and Lay Bomb on the run's
// first frame; D dismisses a hint box opened in the run's first frame.
//
//   controls Jump w        (the next run must walk into the controls sign)
// The run after a controls line ends as soon as the controls menu opens. The
// menu itself runs: a click on the action's button, the key, a key to leave.
// Then, as in the game, a fresh menu level replaces the old one and the rest
// of the replay plays with the new binding. The bindings in force before the
// replay come back when it ends.
struct ReplayRun {
    int frames = 0;
    bool left = false;
    bool right = false;
    bool explodeAll = false;
    bool jump = false;
    bool queryHint = false;
    bool layBomb = false;
    bool dismiss = false;
    int line = 0;           // where the run stands in its file, for messages
    int rebindAction = -1;  // a UserKey: this run must open the controls menu to rebind it
    int rebindKey = 0;      // the SDL key code the action gets there
};

struct Replay {
    std::string levelPath;
    int tileSize = 32;
    bool expectGoal = true;  // false: survive every frame
    std::vector<ReplayRun> runs;

    int totalFrames() const;
};

// Reads a replay; false with a message naming the line on a malformed one.
bool parseReplay(std::istream& in, Replay& replay, std::string& error);
bool loadReplay(const std::string& path, Replay& replay, std::string& error);

// A replay's runs as one input per frame, and back: the runs every tool
// writes, one per stretch of keys held, a new one at every press.
std::vector<FrameInput> framesOf(const Replay& replay);
// Frame i of a run: its keys held throughout, its presses on the first frame.
FrameInput frameOfRun(const ReplayRun& run, int i);
void writeRuns(std::ostream& out, const std::vector<FrameInput>& frames);

struct ReplayOutcome {
    bool success = false;
    int framesRun = 0;
    int deaths = 0;
    std::string reason;  // one line for the tester
};

// Plays the replay on a fresh level drawn into screen, with the clock driven
// 33 ms per frame. With trace set, one line per frame describes the Player;
// observer, when set, sees the level after every drawn frame.
ReplayOutcome runReplay(const Replay& replay, SDL_Surface* screen, std::ostream* trace,
                        const FrameObserver& observer = {});

// The level number a level file's name implies: levelNN.lvl gives NN, others 0.
int levelNumberOf(const std::string& path);

#pragma once

#include "tools/edit/ReplayRecorder.h"

#include <SDL.h>

#include <string>

class Level;

// How a play-test ended.
struct PlayTestResult {
    bool loaded = false;
    bool reachedGoal = false;
    bool gameOver = false;
    int frames = 0;
    ReplayRecorder recorder;
};

// Plays a level file in the editor's window with the game's own frame,
// frame by frame on the driven clock and paced to real time, so the input
// recorded from the keyboard replays exactly in curdovar-replay.
class PlayTest {
public:
    // levelNumber picks the background as the game and the replay tool do.
    PlayTest(SDL_Surface* screen, const std::string& levelFile, int levelNumber);

    // Plays from the start cell, or from (column, row) when column >= 0,
    // until the goal, game over, or Escape.
    PlayTestResult run(int column = -1, int row = -1);

private:
    // Frames until the goal, game over, or Escape, recorded into result.
    void play(Level& level, SDL_Surface* view, PlayTestResult& result);
    // The key presses and releases since the last frame, as this frame's input.
    bool readKeyboard(FrameInput& input);
    // The strip beside and below the game's view: what the keys do, a hint's words.
    void drawCaption(const std::string& hint, int frames);

    SDL_Surface* screen;  // borrowed
    std::string levelFile;
    int levelNumber;
    FrameInput held;  // the keys held now
};

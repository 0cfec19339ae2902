#pragma once

class Level;

// How far apart a run's respawn points lie in time: the start, every
// curdotree that moved the respawn point, and the end of the run. The
// longest stretch is what one death costs a player at worst.
class RespawnStretches {
public:
    // Notes the respawn point after frame `frame` (1 is the first).
    void add(const Level& level, int frame);
    // The run ended after `frames` frames.
    void finish(int frames);

    int longest() const { return longestFrames; }
    int longestFrom() const { return longestStart; }  // the frame the longest stretch begins after
    int respawnPoints() const { return moves; }        // curdotrees touched

private:
    bool started = false;
    int lastX = 0;
    int lastY = 0;
    int lastMove = 0;  // frame of the last respawn point
    int moves = 0;
    int longestFrames = 0;
    int longestStart = 0;

    void stretchEnds(int frame);
};

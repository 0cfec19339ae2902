#pragma once

class Level;

// What the camera showed along a replay: how much of the view was wall and
// whether it ever looked past the level's grid into empty space.
class ViewStats {
public:
    // Measures the view of one drawn frame (the camera as that frame left it);
    // the first frame given is left out.
    void add(const Level& level);

    int frames() const { return frameCount; }
    double meanWallShare() const { return frameCount ? wallShareSum / frameCount : 0.0; }
    double maxWallShare() const { return maxWall; }
    int framesShowingOutside() const { return outsideFrames; }
    double maxOutsideShare() const { return maxOutside; }

private:
    bool skippedFirst = false;
    int frameCount = 0;
    double wallShareSum = 0.0;
    double maxWall = 0.0;
    int outsideFrames = 0;
    double maxOutside = 0.0;
};

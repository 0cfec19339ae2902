#pragma once

#include "things/Enemy.h"

// Drifts towards the Player; all Blobbers share one heading, re-aimed twice a second.
class Blobber final : public Enemy {
public:
    Blobber(int col, int row);
    void update(const Grid& grid, const ThingList& things) override;
    bool isVulnerable(int status, int form) const override;

    void setTarget(const SDL_Rect* playerRect) { target = playerRect; }

private:
    const SDL_Rect* target = nullptr;  // the Player's rectangle; not owned
};

// The shared heading of every Blobber.
int blobStepX();
int blobStepY();
// Back to the heading and clock of program start (for tests and tools).
void resetBlobClock();

#pragma once

#include "things/Thing.h"

// Every creature that hurts the Player. Holds the touch rule: the Player in
// a state the enemy is vulnerable to defeats it, otherwise the Player dies.
class Enemy : public Thing {
public:
    Enemy(int col, int row);

    void update(const Grid& grid, const ThingList& things) override;
    // Draws the current frame of the strip.
    void draw(SDL_Surface* screen, const SDL_Rect* camera) override;
    // Defeat or death; never solid.
    int touch(Player* player) override;

    // Whether the one-tile box at the enemy's position covers a tile that
    // stops enemies inside the grid.
    virtual bool blocked(const Grid& grid) const;
    // Defeat: the enemy is dead from now on.
    virtual void kill();
    // Whether a Player of this status and form defeats the enemy on touch.
    virtual bool isVulnerable(int status, int form) const;

    int getFrame() const { return frame; }

protected:
    // The blocked test for a box of the given size at the enemy's position.
    bool blockedBox(const Grid& grid, int boxWidth, int boxHeight) const;

    Sint32 frame = 0;    // current frame of the strip, 0..3
    SDL_Rect frames[4];  // source rectangles of the strip's frames
};

// A clock every enemy of one kind shares, ticking once per 500 ms of game
// time. The deadline moves by a fixed step, so after a pause it ticks at
// every call until it has caught up with the clock.
class SharedClock {
public:
    // Starts the clock at its first call; true when the deadline has passed,
    // which then moves on by one step.
    bool tick();
    // Back to the state of program start.
    void reset();

private:
    bool started = false;
    Uint32 deadline = 0;  // clock ticks, milliseconds
};

#pragma once

#include <SDL.h>

#include <istream>
#include <vector>

class Player;
class Thing;

// grid[col][row], the level's cell values.
using Grid = std::vector<std::vector<int>>;
using ThingList = std::vector<Thing*>;

// What a touched object asks of the Player's movement.
enum TouchResult : int {
    TouchNothing = 0,    // nothing
    TouchSolid = 1,      // take the step back and stop on this axis
    TouchCollected = 2,  // one more life
};

// Every level object that is not a plain tile, the Player included.
class Thing {
public:
    // At grid cell (col, row), one tile square.
    Thing(int col, int row);
    // Without a cell; the owner places it (the Player).
    Thing();

    // Runs once after construction with the level file positioned after the
    // kind number; consumes the object's parameters.
    virtual void read(std::istream& in);
    virtual ~Thing();
    // Runs once per level step. The grid and list are the Level's own, read
    // only: nothing an object does here may change them.
    virtual void update(const Grid& grid, const ThingList& things);
    // Draws the object through the camera (only its x and y count).
    virtual void draw(SDL_Surface* screen, const SDL_Rect* camera);
    // Runs when the Player overlaps the live object; may run several times a frame.
    virtual int touch(Player* player);

    int getType() const { return type; }
    SDL_Rect* getRect() { return &rect; }
    const SDL_Rect* getRect() const { return &rect; }
    bool isDead() const { return dead; }
    void setType(int kind) { type = kind; }

    // Sizes the object to its image, or one tile square without one.
    void fitToImage();
    // Source rectangle of frame n of a strip of tile-sized frames.
    static SDL_Rect frameRect(int n);

protected:
    Sint32 type = 0;        // kind number 28..39, 0 for the Player and bombs
    SDL_Rect rect;          // level pixels
    SDL_Surface* image = nullptr;  // owned
    bool dead = false;      // used up; the Level deletes it at the end of the step
};

// Reads the object's parameters (its `read`).
std::istream& operator>>(std::istream& in, Thing& thing);

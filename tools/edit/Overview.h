#pragma once

#include "level/LevelDraft.h"

#include <SDL.h>

#include <vector>

class Palette;

// The whole level at a few pixels a cell in a strip under the map, each cell
// in the average colour of its picture, with the map's view framed: a click
// or a drag there moves the view.
class Overview {
public:
    Overview() = default;
    ~Overview();
    Overview(const Overview&) = delete;
    Overview& operator=(const Overview&) = delete;

    // Each value's colour: its palette picture drawn over the level's
    // background (the backdrop image when there is one), averaged.
    void loadColours(SDL_Surface* screen, const Palette& palette, SDL_Color sky,
                     SDL_Surface* backdrop);
    // Draws the strip with the level and the view (in level pixels, tileEdge a cell).
    void draw(SDL_Surface* screen, const LevelDraft& level, int viewX, int viewY, int tileEdge);
    // Whether a window pixel lies in the level's picture as last drawn.
    bool contains(int x, int y) const;
    // The cell under a window pixel of the strip, kept inside the grid.
    void cellAt(int x, int y, int& column, int& row) const;

private:
    // Paints the level's picture anew when the level changed since.
    void render(SDL_Surface* screen, const LevelDraft& level);
    void drawPicture(SDL_Surface* screen, int viewX, int viewY, int tileEdge) const;

    std::vector<Uint32> colours;      // by cell value, in the screen's format
    Uint32 strange = 0;               // for a value past the table
    SDL_Surface* picture = nullptr;   // owned; the level at the strip's scale
    LevelDraft pictured;              // what the picture shows
    double scale = 1;                 // window pixels a cell
    int left = 0;                     // the picture's place in the window
    int top = 0;
};

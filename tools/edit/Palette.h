#pragma once

#include <SDL.h>

#include <string>
#include <vector>

// One thing a designer can put in a cell.
struct PaletteEntry {
    int value;                 // the cell value
    const char* name;          // from the table of tiles and kinds
    SDL_Surface* picture;      // owned by the Palette; null for tiles drawn without an image
};

// Every tile and object kind of the table, with the game's image at the
// current tile size, laid out in a grid on the editor's right.
class Palette {
public:
    Palette();
    ~Palette();
    Palette(const Palette&) = delete;
    Palette& operator=(const Palette&) = delete;

    // Loads the images again for the tile size in force.
    // The tiles as the look draws them (the default images without one).
    void loadPictures(const std::string& look = std::string());

    int size() const { return static_cast<int>(entries.size()); }
    const PaletteEntry& entry(int index) const { return entries[index]; }
    // The entry at a window pixel; -1 for none.
    int entryAt(int x, int y) const;
    // The index of a value's entry; -1 for a value no entry has.
    int indexOf(int value) const;
    // The top-left window pixel of an entry's square.
    SDL_Rect square(int index) const;
    // Where the palette ends, for what is drawn below it.
    int bottom() const;

    // Draws a cell's value at (x, y) in the window, one tile square (two for
    // the Maimframe), clipped to the clip rectangle of the screen.
    void drawCell(SDL_Surface* screen, int value, int x, int y) const;

private:
    void freePictures();

    std::vector<PaletteEntry> entries;
    SDL_Surface* hero = nullptr;  // marks the start cell
};

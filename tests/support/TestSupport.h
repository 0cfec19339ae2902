#pragma once

#include <SDL.h>

#include <sstream>
#include <string>

// Shared helpers for the headless tests.

// The repository root (where the shipped data/ lives) and the build folder.
std::string sourceDir();
std::string buildDir();

// A fresh working directory with an empty data/ tree (levels, images/16,
// images/32, preferences, sound/music, fonts) for the life of the object.
// The previous working directory comes back on destruction. Settings, the
// font cache, the camera, particles and the enemies' shared clocks are reset
// on entry and exit, so tests do not leak state into one another.
class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    const std::string& path() const { return root; }
    // Writes a file below the scratch directory (folders must exist).
    void write(const std::string& relative, const std::string& content) const;
    std::string read(const std::string& relative) const;
    bool exists(const std::string& relative) const;
    // Links data/<folder> to the shipped one (fonts, images, sound, levels).
    void useShipped(const std::string& folder) const;
    // Saves a w by h BMP filled with one colour at data/images/<size>/<name>.bmp.
    void writeImage(int size, const std::string& name, int w, int h,
                    Uint8 r = 200, Uint8 g = 100, Uint8 b = 50) const;

private:
    std::string root;
    std::string previous;
};

// While it lives, every write into a regular file fails as on a full disk:
// the file size limit is 0 (EFBIG), with the signal that would kill us ignored.
// Standard output and error are kept in memory meanwhile, since the test
// runner's own capture files would fail the same way.
class FailingWrites {
public:
    FailingWrites();
    ~FailingWrites();
    FailingWrites(const FailingWrites&) = delete;
    FailingWrites& operator=(const FailingWrites&) = delete;

    std::string out() const { return outText.str(); }
    std::string err() const { return errText.str(); }

private:
    unsigned long long oldLimit = 0;
    void (*oldHandler)(int) = nullptr;
    std::ostringstream outText;
    std::ostringstream errText;
    std::streambuf* oldOut = nullptr;
    std::streambuf* oldErr = nullptr;
};

// Holds a key down (or lets it go) in the array SDL_GetKeyState returns.
void setKey(int key, bool down);
void releaseAllKeys();

// Pushes a key press (down event) of the key into SDL's queue.
void pushKeyDown(int key);
void pushMouseDown(int x, int y, int button = 1);
void pushQuit();
// Pad events of the first pad: the stick's axis, the hat, a button.
void pushPadAxis(int axis, int value);
void pushPadHat(Uint8 value);
void pushPadButton(int button, bool down);
// Drops every pending event.
void drainEvents();

// The pixel at (x, y) of a 32-bit surface as r, g, b.
SDL_Color pixelAt(SDL_Surface* surface, int x, int y);

// Puts every process-wide piece of game state back to program start.
void resetGlobals();

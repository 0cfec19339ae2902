#pragma once

#include <SDL.h>

// The present step, the one place that knows about the window. The game
// draws into its picture of 20 by 15 tiles exactly as it always has; this
// shows the picture in the window, enlarged by a whole number (nearest
// neighbour, pixel-sharp), or as large as the desktop holds in full screen,
// centred on black. At scale 1 in a window the picture is the window itself.
//
// The scale and full-screen choice are the settings windowScale and
// fullScreen; F11 and the options menu change them through this module.

// Where the enlarged picture lies in the window.
struct PresentLayout {
    int scale = 1;  // each picture pixel becomes scale by scale window pixels
    int x = 0;      // the picture's top-left corner in the window
    int y = 0;
    int windowW = 0;  // the window (or full screen) size
    int windowH = 0;
    int pictureW = 0;  // the picture before enlarging
    int pictureH = 0;
};

// The largest whole scale at which a picture fits an area; at least 1.
int largestScale(int pictureW, int pictureH, int areaW, int areaH);

// The layout for a picture: in a window, the wished scale cut down to what
// the desktop holds; in full screen, the desktop's size with the largest
// scale that fits, centred. An unknown desktop (0 by 0) holds any scale.
PresentLayout layoutFor(int pictureW, int pictureH, int wishedScale, bool full, int desktopW,
                        int desktopH);

// Window pixels to picture pixels; false for a point on the black border.
bool windowToPicture(const PresentLayout& layout, int windowX, int windowY, int* pictureX,
                     int* pictureY);

// For every event a loop polls: F11 switches full screen and is used up
// (false); mouse positions are moved into picture pixels, a point on the
// black border to 0xFFFF, where no button lies.
bool filterDisplayEvent(SDL_Event& event);

// Enlarges a 32-bit picture into a 32-bit target at the layout's place.
void scalePicture(const SDL_Surface* picture, SDL_Surface* target, const PresentLayout& layout);

// Reads the desktop's resolution; call after SDL starts and before any window
// opens, while SDL still reports the desktop rather than our window.
void rememberDesktopSize();
// For the benchmarks and tests, whose video driver has no desktop.
void setDesktopSize(int w, int h);
int desktopWidth();   // 0 when unknown
int desktopHeight();

// Opens the window for a picture of this size, or keeps the one open when it
// already fits; the picture to draw into, or null (SDL_GetError says why).
SDL_Surface* openDisplay(int pictureW, int pictureH, Uint32 baseFlags);

// The picture the game draws into while the display is open; `held` (a
// surface of a test or tool) otherwise. Loops call it after polling events,
// since F11 can replace the picture under them.
SDL_Surface* currentPicture(SDL_Surface* held);

// Shows a finished picture: the one replacement for SDL_Flip.
void presentPicture(SDL_Surface* picture);

// Applies windowScale and fullScreen to the open window, keeping what the
// picture shows; false (and the old mode back) when SDL refuses.
bool applyDisplaySettings();

// F11: full screen on or off, remembered in the settings file.
void toggleFullScreen();

// The window scales offered: 1 up to the largest that fits the desktop.
int largestWindowScaleThatFits();

const PresentLayout& currentLayout();

// Frees the picture; the window itself goes with SDL_Quit.
void closeDisplay();

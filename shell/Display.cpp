#include "shell/Display.h"

#include "menus/Settings.h"

#include <cstring>
#include <iostream>

namespace {
constexpr int bitsPerPixel = 32;
constexpr int unknownDesktopScales = 4;  // scales offered when SDL cannot tell the desktop's size
constexpr Uint16 offPicture = 0xFFFF;    // a pointer on the border: beyond every button

int desktopW = 0;  // pixels; 0 while unknown
int desktopH = 0;

bool windowOpen = false;           // true once the game opened its window here
Uint32 flagsAsked = 0;         // the game's own video flags, full screen aside
SDL_Surface* picture = nullptr;  // owned; null while the window itself is the picture
PresentLayout layout;

// Copies one row of pixels, each repeated Scale times; fixed scales unroll.
template <int Scale>
void widenRow(const Uint32* from, Uint32* to, int count) {
    for (int x = 0; x < count; ++x) {
        const Uint32 pixel = from[x];
        for (int k = 0; k < Scale; ++k) *to++ = pixel;
    }
}

void widenRow(const Uint32* from, Uint32* to, int count, int scale) {
    switch (scale) {
    case 2: widenRow<2>(from, to, count); return;
    case 3: widenRow<3>(from, to, count); return;
    case 4: widenRow<4>(from, to, count); return;
    default:
        for (int x = 0; x < count; ++x) {
            for (int k = 0; k < scale; ++k) *to++ = from[x];
        }
    }
}

SDL_Surface* windowSurface() { return SDL_GetVideoSurface(); }

// A pointer position in the window to the picture pixel under it. Whatever
// width the event's coordinates have, they hold 16-bit values as in SDL 1.2.
template <typename Coordinate>
void toPicture(Coordinate& x, Coordinate& y) {
    int px = 0;
    int py = 0;
    if (windowToPicture(layout, static_cast<Uint16>(x), static_cast<Uint16>(y), &px, &py)) {
        x = static_cast<Uint16>(px);
        y = static_cast<Uint16>(py);
    } else {
        x = offPicture;
        y = offPicture;
    }
}

// A window already open as the settings want it is kept as it is.
bool windowFits(const SDL_Surface* video, const PresentLayout& wanted) {
    return video && video->w == wanted.windowW && video->h == wanted.windowH &&
           video->format->BitsPerPixel == bitsPerPixel &&
           ((video->flags & SDL_FULLSCREEN) != 0) == fullScreen;
}

// Sets the video mode for the settings and makes the picture that goes with it.
bool setMode(bool keepFittingWindow) {
    const PresentLayout wanted =
        layoutFor(layout.pictureW, layout.pictureH, windowScale, fullScreen, desktopW, desktopH);
    const Uint32 flags = flagsAsked | (fullScreen ? SDL_FULLSCREEN : 0);
    SDL_Surface* video = windowSurface();
    if (!keepFittingWindow || !windowFits(video, wanted)) {
        video = SDL_SetVideoMode(wanted.windowW, wanted.windowH, bitsPerPixel, flags);
    }
    if (!video) return false;
    layout = wanted;
    const bool windowIsPicture = layout.scale == 1 && !fullScreen;
    if (windowIsPicture) {
        if (picture) SDL_FreeSurface(picture);
        picture = nullptr;
        return true;
    }
    if (!picture || picture->w != layout.pictureW || picture->h != layout.pictureH) {
        if (picture) SDL_FreeSurface(picture);
        const SDL_PixelFormat* f = video->format;
        picture = SDL_CreateRGBSurface(SDL_SWSURFACE, layout.pictureW, layout.pictureH,
                                       bitsPerPixel, f->Rmask, f->Gmask, f->Bmask, 0);
        if (!picture) return false;
    }
    SDL_FillRect(video, nullptr, 0);
    SDL_Flip(video);
    return true;
}
}  // namespace

int largestScale(int pictureW, int pictureH, int areaW, int areaH) {
    if (pictureW <= 0 || pictureH <= 0) return 1;
    const int across = areaW / pictureW;
    const int down = areaH / pictureH;
    const int scale = across < down ? across : down;
    return scale < 1 ? 1 : scale;
}

PresentLayout layoutFor(int pictureW, int pictureH, int wishedScale, bool full, int desktopW_,
                        int desktopH_) {
    PresentLayout result;
    result.pictureW = pictureW;
    result.pictureH = pictureH;
    const bool known = desktopW_ > 0 && desktopH_ > 0;
    if (full && known) {
        result.scale = largestScale(pictureW, pictureH, desktopW_, desktopH_);
        result.windowW = desktopW_;
        result.windowH = desktopH_;
        // A picture larger than the desktop starts at its left or top edge.
        const int spareW = desktopW_ - pictureW * result.scale;
        const int spareH = desktopH_ - pictureH * result.scale;
        result.x = spareW > 0 ? spareW / 2 : 0;
        result.y = spareH > 0 ? spareH / 2 : 0;
        return result;
    }
    int scale = wishedScale < 1 ? 1 : wishedScale;
    if (full) scale = 1;  // full screen on a desktop of unknown size: the picture as it is
    if (known) {
        const int fits = largestScale(pictureW, pictureH, desktopW_, desktopH_);
        if (scale > fits) scale = fits;
    }
    result.scale = scale;
    result.windowW = pictureW * scale;
    result.windowH = pictureH * scale;
    return result;
}

bool windowToPicture(const PresentLayout& l, int windowX, int windowY, int* pictureX,
                     int* pictureY) {
    const int dx = windowX - l.x;
    const int dy = windowY - l.y;
    if (dx < 0 || dy < 0 || l.scale < 1) return false;
    const int px = dx / l.scale;
    const int py = dy / l.scale;
    if (px >= l.pictureW || py >= l.pictureH) return false;
    *pictureX = px;
    *pictureY = py;
    return true;
}

bool filterDisplayEvent(SDL_Event& event) {
    if ((event.type == SDL_KEYDOWN || event.type == SDL_KEYUP) &&
        event.key.keysym.sym == SDLK_F11) {
        if (event.type == SDL_KEYDOWN) toggleFullScreen();
        return false;
    }
    // Without a picture of its own the window shows the picture pixel for pixel.
    if (!windowOpen || !picture) return true;
    switch (event.type) {
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        toPicture(event.button.x, event.button.y);
        break;
    case SDL_MOUSEMOTION:
        toPicture(event.motion.x, event.motion.y);
        event.motion.xrel = static_cast<Sint16>(event.motion.xrel / layout.scale);
        event.motion.yrel = static_cast<Sint16>(event.motion.yrel / layout.scale);
        break;
    default:
        break;
    }
    return true;
}

void scalePicture(const SDL_Surface* from, SDL_Surface* target, const PresentLayout& l) {
    if (!from || !target || l.scale < 1) return;
    if (from->format->BytesPerPixel != 4 || target->format->BytesPerPixel != 4) return;
    // Only what fits the target is drawn, whatever the layout says.
    int columns = from->w;
    int rows = from->h;
    if (l.x < 0 || l.y < 0) return;
    if (l.x + columns * l.scale > target->w) columns = (target->w - l.x) / l.scale;
    if (l.y + rows * l.scale > target->h) rows = (target->h - l.y) / l.scale;
    if (columns <= 0 || rows <= 0) return;

    if (SDL_MUSTLOCK(target) && SDL_LockSurface(target) != 0) return;
    const Uint8* source = static_cast<const Uint8*>(from->pixels);
    Uint8* destination = static_cast<Uint8*>(target->pixels) + l.y * target->pitch + l.x * 4;
    const size_t rowBytes = static_cast<size_t>(columns) * static_cast<size_t>(l.scale) * 4;
    for (int y = 0; y < rows; ++y) {
        Uint8* first = destination;
        widenRow(reinterpret_cast<const Uint32*>(source), reinterpret_cast<Uint32*>(first),
                 columns, l.scale);
        destination += target->pitch;
        for (int k = 1; k < l.scale; ++k) {
            std::memcpy(destination, first, rowBytes);
            destination += target->pitch;
        }
        source += from->pitch;
    }
    if (SDL_MUSTLOCK(target)) SDL_UnlockSurface(target);
}

void rememberDesktopSize() {
    const SDL_VideoInfo* info = SDL_GetVideoInfo();
    if (!info || info->current_w <= 0 || info->current_h <= 0) return;
    desktopW = info->current_w;
    desktopH = info->current_h;
}

void setDesktopSize(int w, int h) {
    desktopW = w > 0 ? w : 0;
    desktopH = h > 0 ? h : 0;
}

int desktopWidth() { return desktopW; }
int desktopHeight() { return desktopH; }

SDL_Surface* openDisplay(int pictureW, int pictureH, Uint32 baseFlags) {
    if (windowOpen && layout.pictureW == pictureW && layout.pictureH == pictureH) {
        return currentPicture(nullptr);
    }
    layout.pictureW = pictureW;
    layout.pictureH = pictureH;
    flagsAsked = baseFlags & ~static_cast<Uint32>(SDL_FULLSCREEN);
    // The first time, the window start-up opened is taken as it is when it fits.
    if (!setMode(!windowOpen)) return nullptr;
    windowOpen = true;
    return currentPicture(nullptr);
}

SDL_Surface* currentPicture(SDL_Surface* held) {
    if (!windowOpen) return held;
    return picture ? picture : windowSurface();
}

void presentPicture(SDL_Surface* shown) {
    if (!shown) return;
    if (!windowOpen || !picture || shown != picture) {
        SDL_Flip(shown);
        return;
    }
    SDL_Surface* video = windowSurface();
    scalePicture(picture, video, layout);
    SDL_UpdateRect(video, static_cast<Sint32>(layout.x), static_cast<Sint32>(layout.y),
                   static_cast<Uint32>(layout.pictureW * layout.scale),
                   static_cast<Uint32>(layout.pictureH * layout.scale));
}

bool applyDisplaySettings() {
    if (!windowOpen) return false;
    // The picture is redrawn only at the next frame; loops that wait (a sign's
    // box, the pause) still have to show what they drew, so it is carried over.
    SDL_Surface* shown = currentPicture(nullptr);
    SDL_Surface* kept = shown ? SDL_ConvertSurface(shown, shown->format, SDL_SWSURFACE) : nullptr;
    const PresentLayout before = layout;
    bool applied = setMode(false);
    if (!applied) {
        std::cerr << "The window cannot be set to that size: " << SDL_GetError() << std::endl;
        windowScale = before.scale;
        fullScreen = false;
        setMode(false);
    }
    if (kept) {
        SDL_Surface* now = currentPicture(nullptr);
        if (now) SDL_BlitSurface(kept, nullptr, now, nullptr);
        SDL_FreeSurface(kept);
        presentPicture(now);
    }
    return applied;
}

void toggleFullScreen() {
    fullScreen = !fullScreen;
    if (windowOpen) applyDisplaySettings();
    writeWindowAndPad();
}

int largestWindowScaleThatFits() {
    if (desktopW <= 0 || desktopH <= 0) return unknownDesktopScales;
    int scale = largestScale(layout.pictureW, layout.pictureH, desktopW, desktopH);
    return scale > largestWindowScale ? largestWindowScale : scale;
}

const PresentLayout& currentLayout() { return layout; }

void closeDisplay() {
    if (picture) SDL_FreeSurface(picture);
    picture = nullptr;
    windowOpen = false;
    layout = PresentLayout();
}

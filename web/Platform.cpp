// The browser build's stand-ins for what the SDL 1.2 emulation does unlike
// SDL 1.2 (see Platform.h). Compiled without Platform.h in front, so the
// names here reach the emulation itself.
#include "shell/Input.h"
#include "web/GlibcRandom.h"
#include "web/GlyphSheet.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <SDL_ttf.h>
#include <emscripten.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <string>

extern "C" Uint8* SDL_GetKeyboardState(int* numkeys);

// In place of the C library's own: the same numbers as the native builds draw.
namespace {
GlibcRandom randomNumbers;
}
extern "C" int rand(void) {
    return randomNumbers.next();
}
extern "C" void srand(unsigned seed) {
    randomNumbers.reseed(seed);
}

Uint8* webGetKeyState(int* keyCount) {
    return SDL_GetKeyboardState(keyCount);
}

int webSetColorKey(SDL_Surface* surface, Uint32 flag, Uint32 key) {
    if (!surface || !(flag & SDL_SRCCOLORKEY)) return 0;
    // Remembered beside the emulation's own record of the surface, which goes with it.
    EM_ASM({ SDL.surfaces[$0].keyed = true; }, surface);
    Uint8 r = 0, g = 0, b = 0;
    SDL_GetRGB(key, surface->format, &r, &g, &b);
    // The emulation's surfaces hold bytes in canvas order: red, green, blue, alpha.
    if (SDL_LockSurface(surface) < 0) return -1;
    Uint8* pixels = static_cast<Uint8*>(surface->pixels);
    const int count = surface->w * surface->h;
    for (int i = 0; i < count; ++i) {
        Uint8* p = pixels + 4 * i;
        if (p[0] == r && p[1] == g && p[2] == b) p[3] = 0;
    }
    SDL_UnlockSurface(surface);
    return 0;
}

Mix_Music* webLoadMUS(const char* file) {
    if (std::FILE* packed = std::fopen(file, "rb")) {
        std::fclose(packed);
        return Mix_LoadMUS(file);
    }
    const int track = EM_ASM_INT({
        return typeof curdovarLoadMusic === 'function' ? curdovarLoadMusic(UTF8ToString($0)) : 0;
    }, file);
    if (!track) {
        SDL_SetError("Couldn't open %s", file);
        return nullptr;
    }
    // The emulation's tracks are numbers in place of pointers.
    return reinterpret_cast<Mix_Music*>(static_cast<std::intptr_t>(track));
}

SDL_RWops* webRWFromFile(const char* file, const char* mode) {
    std::FILE* probe = std::fopen(file, mode);
    if (!probe) {
        SDL_SetError("Couldn't open %s", file);
        return nullptr;
    }
    std::fclose(probe);
    // The emulation numbers its streams from 1, but freeing the last one also
    // gives up the reserved number 0, so the next stream is numbered 0: a null
    // pointer, and the first sound or picture loaded after a picture would be
    // missing. That number stays taken, so asking again gives a real stream.
    SDL_RWops* stream = SDL_RWFromFile(file, mode);
    return stream ? stream : SDL_RWFromFile(file, mode);
}

namespace {
constexpr int largestPictureW = 640;  // 20 tiles of 32 pixels
constexpr int largestPictureH = 480;  // 15 tiles
}  // namespace

const SDL_VideoInfo* webGetVideoInfo() {
    static SDL_VideoInfo info;
    // The emulation hands out a fresh copy on every call.
    const SDL_VideoInfo* emulated = SDL_GetVideoInfo();
    info = *emulated;
    std::free(const_cast<SDL_VideoInfo*>(emulated));
    // A phone's screen is smaller than the picture, and full screen at its
    // size would cut the picture; the page shrinks a larger canvas to fit.
    info.current_w = std::max(EM_ASM_INT({ return screen.width; }), largestPictureW);
    info.current_h = std::max(EM_ASM_INT({ return screen.height; }), largestPictureH);
    return &info;
}

int webInitSubSystem(Uint32 flags) {
    // The emulation polls the pads only while its record of started systems has them.
    EM_ASM({ SDL.initFlags |= $0; }, flags);
    return 0;
}

namespace {
// The place in the browser's pad list of the present pad counted `which`
// from 0, or -1.
int padPlace(int which) {
    return EM_ASM_INT({
        var pads = SDL.getGamepads();
        for (var i = 0, seen = 0; i < pads.length; ++i) {
            if (pads[i] && pads[i].connected !== false && seen++ === $0) return i;
        }
        return -1;
    }, which);
}

constexpr Uint8 dpadUp = 12;  // the d-pad's buttons in the browser's standard layout
constexpr Uint8 dpadDown = 13;
constexpr Uint8 dpadLeft = 14;
constexpr Uint8 dpadRight = 15;
Uint8 dpadHeld = 0;  // SDL_HAT_* bits of the d-pad buttons held

bool standardPad(int deviceIndex) {
    return EM_ASM_INT({
        var pad = SDL.getGamepad($0);
        return pad && pad.mapping === 'standard' ? 1 : 0;
    }, deviceIndex) != 0;
}

// A standard pad's d-pad button as the hat motion SDL 1.2 reports for it.
void dpadToHat(SDL_Event* event) {
    if (event->type != SDL_JOYBUTTONDOWN && event->type != SDL_JOYBUTTONUP) return;
    const Uint8 button = event->jbutton.button;
    Uint8 bit = 0;
    if (button == dpadUp) bit = SDL_HAT_UP;
    if (button == dpadDown) bit = SDL_HAT_DOWN;
    if (button == dpadLeft) bit = SDL_HAT_LEFT;
    if (button == dpadRight) bit = SDL_HAT_RIGHT;
    if (!bit || !standardPad(event->jbutton.which)) return;
    if (event->type == SDL_JOYBUTTONDOWN) {
        dpadHeld |= bit;
    } else {
        dpadHeld &= static_cast<Uint8>(~bit);
    }
    const Uint8 which = event->jbutton.which;
    *event = SDL_Event();
    event->type = SDL_JOYHATMOTION;
    event->jhat.type = SDL_JOYHATMOTION;
    event->jhat.which = which;
    event->jhat.hat = 0;
    event->jhat.value = dpadHeld;
}
}  // namespace

int webNumJoysticks() {
    int count = 0;
    while (padPlace(count) >= 0) ++count;
    return count;
}

SDL_Joystick* webJoystickOpen(int deviceIndex) {
    const int place = padPlace(deviceIndex);
    return place < 0 ? nullptr : SDL_JoystickOpen(place);
}

const char* webJoystickName(int deviceIndex) {
    const int place = padPlace(deviceIndex);
    return place < 0 ? nullptr : SDL_JoystickName(place);
}

int webPollEvent(SDL_Event* event) {
    // Browsers show a pad only after one of its buttons is pressed.
    if (!padOpen() && padPlace(0) >= 0) openPad();
    if (!SDL_PollEvent(event)) return 0;
    dpadToHat(event);
    return 1;
}

namespace {
struct WebFont {
    const SheetSize* size;
};

constexpr Uint32 fetchWaitStepMs = 20;
constexpr Uint32 fetchWaitLimitMs = 60000;  // then the text is missing, as with no font

// A sheet read once; null while its file is not there (it may come later).
const GlyphSheet* readSheet(const std::string& path) {
    static std::map<std::string, std::unique_ptr<GlyphSheet>> sheets;
    auto found = sheets.find(path);
    if (found != sheets.end()) return found->second.get();
    std::ifstream in(path, std::ios::binary);
    if (!in) return nullptr;
    std::ostringstream bytes;
    bytes << in.rdbuf();
    auto sheet = std::make_unique<GlyphSheet>();
    if (!sheet->parse(bytes.str())) return nullptr;
    return (sheets[path] = std::move(sheet)).get();
}

// A file the page fetches after its first frame, waited for when the game
// needs it sooner; false when no page fetches it (the replay page) or it
// does not come.
bool awaitFetchedFile(const std::string& path) {
    constexpr int coming = 1;
    constexpr int there = 2;
    for (Uint32 waited = 0;; waited += fetchWaitStepMs) {
        const int state = EM_ASM_INT({
            return typeof curdovarAwaitFile === 'function' ? curdovarAwaitFile(UTF8ToString($0)) : 0;
        }, path.c_str());
        if (state != coming || waited >= fetchWaitLimitMs) return state == there;
        emscripten_sleep(fetchWaitStepMs);
    }
}

// The font's sizes come in two sheets beside it: FONT.glyphs, the small sizes
// the first frame needs (every size, in the replay page), and FONT.glyphs-more,
// the rest, which the page fetches once its first frame is up.
const SheetSize* sheetSize(const std::string& fontFile, int points) {
    if (const GlyphSheet* first = readSheet(fontFile + ".glyphs")) {
        if (const SheetSize* size = first->size(points)) return size;
    } else {
        return nullptr;
    }
    const std::string more = fontFile + ".glyphs-more";
    const GlyphSheet* sheet = readSheet(more);
    if (!sheet && awaitFetchedFile(more)) sheet = readSheet(more);
    return sheet ? sheet->size(points) : nullptr;
}
}  // namespace

TTF_Font* webOpenFont(const char* file, int pointSize) {
    const SheetSize* size = file ? sheetSize(file, pointSize) : nullptr;
    if (!size) {
        SDL_SetError("Couldn't open %s at %d points", file ? file : "(null)", pointSize);
        return nullptr;
    }
    return reinterpret_cast<TTF_Font*>(new WebFont{size});
}

void webCloseFont(TTF_Font* font) {
    delete reinterpret_cast<WebFont*>(font);
}

int webSizeText(TTF_Font* font, const char* text, int* w, int* h) {
    if (!font || !text) return -1;
    measureSheetText(*reinterpret_cast<WebFont*>(font)->size, text, w, h);
    return 0;
}

SDL_Surface* webRenderTextBlended(TTF_Font* font, const char* text, SDL_Color colour) {
    if (!font || !text) return nullptr;
    int w = 0, h = 0;
    const std::vector<std::uint8_t> plane =
        renderSheetText(*reinterpret_cast<WebFont*>(font)->size, text, &w, &h);
    if (w <= 0 || h <= 0) {
        SDL_SetError("Text has zero width");
        return nullptr;
    }
    SDL_Surface* surface = SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 32, 0x000000FF, 0x0000FF00,
                                                0x00FF0000, 0xFF000000);
    if (!surface) return nullptr;
    SDL_LockSurface(surface);
    Uint8* pixels = static_cast<Uint8*>(surface->pixels);
    for (std::size_t i = 0; i < plane.size(); ++i) {
        pixels[4 * i] = colour.r;
        pixels[4 * i + 1] = colour.g;
        pixels[4 * i + 2] = colour.b;
        pixels[4 * i + 3] = plane[i];
    }
    SDL_UnlockSurface(surface);
    return surface;
}

// SDL 1.2's key names for the keys a player may bind; others as SDL 1.2 says them.
const char* webGetKeyName(SDLKey key) {
    static std::map<int, std::string> names;
    if (names.empty()) {
        for (int c = 'a'; c <= 'z'; ++c) names[c] = std::string(1, static_cast<char>(c));
        for (int c = '0'; c <= '9'; ++c) names[c] = std::string(1, static_cast<char>(c));
        const char* const punctuation = "!\"#$&'()*+,-./:;<=>?@[\\]^_`";
        for (const char* p = punctuation; *p; ++p) names[*p] = std::string(1, *p);
        names[SDLK_BACKSPACE] = "backspace";
        names[SDLK_TAB] = "tab";
        names[SDLK_RETURN] = "return";
        names[SDLK_ESCAPE] = "escape";
        names[SDLK_SPACE] = "space";
        names[SDLK_DELETE] = "delete";
        names[SDLK_UP] = "up";
        names[SDLK_DOWN] = "down";
        names[SDLK_RIGHT] = "right";
        names[SDLK_LEFT] = "left";
        names[SDLK_INSERT] = "insert";
        names[SDLK_HOME] = "home";
        names[SDLK_END] = "end";
        names[SDLK_PAGEUP] = "page up";
        names[SDLK_PAGEDOWN] = "page down";
        names[SDLK_LSHIFT] = "left shift";
        names[SDLK_RSHIFT] = "right shift";
        names[SDLK_LCTRL] = "left ctrl";
        names[SDLK_RCTRL] = "right ctrl";
        names[SDLK_LALT] = "left alt";
        names[SDLK_RALT] = "right alt";
        const int keypad[] = {SDLK_KP_0, SDLK_KP_1, SDLK_KP_2, SDLK_KP_3, SDLK_KP_4,
                              SDLK_KP_5, SDLK_KP_6, SDLK_KP_7, SDLK_KP_8, SDLK_KP_9};
        for (int i = 0; i < 10; ++i) names[keypad[i]] = "[" + std::to_string(i) + "]";
        const int function[] = {SDLK_F1, SDLK_F2, SDLK_F3, SDLK_F4,  SDLK_F5,  SDLK_F6,
                                SDLK_F7, SDLK_F8, SDLK_F9, SDLK_F10, SDLK_F11, SDLK_F12};
        for (int i = 0; i < 12; ++i) names[function[i]] = "f" + std::to_string(i + 1);
    }
    const auto found = names.find(key);
    return found != names.end() ? found->second.c_str() : "unknown key";
}

// Platform.h's SDL 1.2 rectangle, the one the game uses.
struct WebRect {
    Sint16 x, y;
    Uint16 w, h;
};

namespace {

SDL_Rect widen(const WebRect& r) {
    SDL_Rect wide;
    wide.x = r.x;
    wide.y = r.y;
    wide.w = r.w;
    wide.h = r.h;
    return wide;
}

// SDL 1.2 leaves the part actually drawn in the target rectangle.
void narrowInto(const SDL_Rect& wide, WebRect* r) {
    r->x = static_cast<Sint16>(wide.x);
    r->y = static_cast<Sint16>(wide.y);
    r->w = static_cast<Uint16>(wide.w);
    r->h = static_cast<Uint16>(wide.h);
}

// How SDL 1.2 blends a surface drawn see-through (SDL_SetAlpha) into one
// colour channel: with a colour key one way, without one the other. The
// canvas would round its own way, one level off here and there.
int blendChannel(int source, int target, int alpha, bool keyed) {
    return keyed ? (((source - target) * alpha + 255) >> 8) + target
                 : (((source - target) * alpha) >> 8) + target;
}

// The blit of a see-through surface, done here as SDL 1.2 does it: clipped
// to the source and the target as SDL_UpperBlit clips, the drawn part left
// in targetRect.
int blitSeeThrough(SDL_Surface* source, const WebRect* sourceRect, SDL_Surface* target,
                   WebRect* targetRect, int alpha) {
    int sx = sourceRect ? sourceRect->x : 0;
    int sy = sourceRect ? sourceRect->y : 0;
    int w = sourceRect ? sourceRect->w : source->w;
    int h = sourceRect ? sourceRect->h : source->h;
    int dx = targetRect ? targetRect->x : 0;
    int dy = targetRect ? targetRect->y : 0;
    if (sx < 0) { w += sx; dx -= sx; sx = 0; }
    if (sy < 0) { h += sy; dy -= sy; sy = 0; }
    w = std::min(w, source->w - sx);
    h = std::min(h, source->h - sy);
    if (dx < 0) { w += dx; sx -= dx; dx = 0; }
    if (dy < 0) { h += dy; sy -= dy; dy = 0; }
    w = std::min(w, target->w - dx);
    h = std::min(h, target->h - dy);
    const bool drawn = w > 0 && h > 0;
    if (targetRect) narrowInto(drawn ? SDL_Rect{dx, dy, w, h} : SDL_Rect{dx, dy, 0, 0}, targetRect);
    if (!drawn) return 0;

    // The blend happens in a copy of the part of the target drawn on: locking
    // reads a whole surface out of its canvas, which for the screen each
    // frame would cost more than the frame.
    SDL_Surface* part = SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 32, 0x000000FF, 0x0000FF00,
                                             0x00FF0000, 0xFF000000);
    if (!part) return -1;
    SDL_Rect area = {dx, dy, w, h};
    SDL_UpperBlit(target, &area, part, nullptr);
    const bool keyed = EM_ASM_INT({ return SDL.surfaces[$0].keyed ? 1 : 0; }, source) != 0;
    // Both in canvas order, red, green, blue, alpha; a keyed colour has alpha 0.
    SDL_LockSurface(source);
    SDL_LockSurface(part);
    for (int y = 0; y < h; ++y) {
        const Uint8* from = static_cast<const Uint8*>(source->pixels) +
                            (sy + y) * source->pitch + 4 * sx;
        Uint8* to = static_cast<Uint8*>(part->pixels) + y * part->pitch;
        for (int x = 0; x < w; ++x, from += 4, to += 4) {
            if (keyed && from[3] == 0) continue;
            for (int c = 0; c < 3; ++c) {
                to[c] = static_cast<Uint8>(blendChannel(from[c], to[c], alpha, keyed));
            }
        }
    }
    SDL_UnlockSurface(part);
    SDL_UnlockSurface(source);
    SDL_Rect at = {dx, dy, w, h};
    const int result = SDL_UpperBlit(part, nullptr, target, &at);
    SDL_FreeSurface(part);
    return result;
}
}  // namespace

int webBlitSurface(SDL_Surface* source, WebRect* sourceRect, SDL_Surface* target,
                   WebRect* targetRect) {
    const int alpha = source && target
                          ? EM_ASM_INT({ return SDL.surfaces[$0].alpha; }, source)
                          : 255;
    if (alpha < 255) return blitSeeThrough(source, sourceRect, target, targetRect, alpha);
    SDL_Rect from = sourceRect ? widen(*sourceRect) : SDL_Rect();
    SDL_Rect to = targetRect ? widen(*targetRect) : SDL_Rect();
    const int result = SDL_UpperBlit(source, sourceRect ? &from : nullptr, target,
                                     targetRect ? &to : nullptr);
    if (targetRect) narrowInto(to, targetRect);
    return result;
}

int webFillRect(SDL_Surface* target, WebRect* rect, Uint32 colour) {
    constexpr Uint32 opaque = 0xFF000000;  // the alpha byte of the emulation's pixels
    SDL_Rect wide = rect ? widen(*rect) : SDL_Rect();
    const int result = SDL_FillRect(target, rect ? &wide : nullptr, colour | opaque);
    if (rect) narrowInto(wide, rect);
    return result;
}

// Put in front of every game source of the browser build (-include). Where
// the browser's SDL 1.2 emulation behaves unlike SDL 1.2, these names lead to
// web/Platform.cpp, which behaves as SDL 1.2 does; the game's sources stay
// the same in both builds.
#pragma once

#ifdef __cplusplus
#include <SDL.h>
#include <SDL_mixer.h>
#include <SDL_ttf.h>

// The emulation's header lacks it, and its version never reports the key count.
Uint8* webGetKeyState(int* keyCount);
#define SDL_GetKeyState webGetKeyState

// The emulation ignores colour keys: the keyed colour becomes transparent at once.
int webSetColorKey(SDL_Surface* surface, Uint32 flag, Uint32 key);
#define SDL_SetColorKey webSetColorKey

// The emulation draws text with the browser's fonts; these draw the game's
// font from the glyph sheet the native SDL_ttf made from it at build time.
TTF_Font* webOpenFont(const char* file, int pointSize);
void webCloseFont(TTF_Font* font);
int webSizeText(TTF_Font* font, const char* text, int* w, int* h);
SDL_Surface* webRenderTextBlended(TTF_Font* font, const char* text, SDL_Color colour);
#define TTF_OpenFont webOpenFont
#define TTF_CloseFont webCloseFont
#define TTF_SizeText webSizeText
#define TTF_RenderText_Blended webRenderTextBlended

// The emulation opens any name, and one stream in a while comes back null
// (see web/Platform.cpp); this opens as SDL 1.2 does.
SDL_RWops* webRWFromFile(const char* file, const char* mode);
#define SDL_RWFromFile webRWFromFile

// The emulation reports the canvas's size as the desktop's (300 by 150 before
// the game's window opens); a page's desktop is the screen it is shown on,
// but never smaller than the largest picture.
const SDL_VideoInfo* webGetVideoInfo();
#define SDL_GetVideoInfo webGetVideoInfo

// The emulation's SDL_InitSubSystem does nothing, so a pad never sent events;
// it counts the empty places of the browser's pad list as pads; and it opens
// only the pads present when asked, while browsers show a pad only once a
// button on it is pressed. These count and open the pads there are, open a
// pad that turns up later at the next poll, and report a standard pad's
// d-pad as SDL 1.2 does on Linux: as a hat.
int webInitSubSystem(Uint32 flags);
int webNumJoysticks();
SDL_Joystick* webJoystickOpen(int deviceIndex);
const char* webJoystickName(int deviceIndex);
int webPollEvent(SDL_Event* event);
#define SDL_InitSubSystem webInitSubSystem
#define SDL_NumJoysticks webNumJoysticks
#define SDL_JoystickOpen webJoystickOpen
#define SDL_JoystickName webJoystickName
#define SDL_PollEvent webPollEvent

// SDL's names for keys, as SDL 1.2 gives them (the emulation knows none).
const char* webGetKeyName(SDLKey key);
#define SDL_GetKeyName webGetKeyName
#endif

// The emulation's pixel formats have no colour key, and its surfaces never
// carry SDL_SRCCOLORKEY (keyed colours are transparent instead), so code that
// reads the key of a keyed surface never runs; this lets it compile.
#define colorkey Amask

#ifdef __cplusplus
// SDL 1.2's rectangle: 16-bit corner and size. The emulation's has ints, which
// neither wrap as the game's positions do nor bind to its Sint16 references;
// the game keeps SDL 1.2's, and the calls taking one convert at the border.
struct WebRect {
    Sint16 x, y;
    Uint16 w, h;
};
#define SDL_Rect WebRect
int webBlitSurface(SDL_Surface* source, WebRect* sourceRect, SDL_Surface* target,
                   WebRect* targetRect);
// The game fills only surfaces without an alpha channel (the screen, its own
// surfaces made with no alpha mask), where SDL 1.2 writes every fill opaque;
// the emulation's surfaces all have one, and a fill with pixel 0 left the
// picture under it showing.
int webFillRect(SDL_Surface* target, WebRect* rect, Uint32 colour);
#undef SDL_BlitSurface
#define SDL_BlitSurface webBlitSurface
#define SDL_FillRect webFillRect
#endif

#ifdef __cplusplus
// The page's music is not in its data: each track comes as Opus beside the
// page, fetched when a level first asks for it (data/sound/music/NAME.flac
// becomes music/NAME.opus). A track in the files, as in the replay page,
// loads as before.
Mix_Music* webLoadMUS(const char* file);
#define Mix_LoadMUS webLoadMUS

// The emulation has no fade-ins: the music starts at full volume at once.
// The fade's length is still evaluated, so the game's constant counts as used.
#define Mix_FadeInMusic(music, loops, ms) ((void)(ms), Mix_PlayMusic((music), (loops)))
// Its one display format is 32-bit with alpha; the plain conversion is missing.
#define SDL_DisplayFormat SDL_DisplayFormatAlpha
#endif

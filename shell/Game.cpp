#include "shell/Game.h"

#include "level/Level.h"
#include "media/Sound.h"
#include "media/Text.h"
#include "menus/ControlsMenu.h"
#include "menus/MessageBox.h"
#include "menus/OptionsMenu.h"
#include "menus/Settings.h"
#include "shell/Clock.h"
#include "shell/Display.h"
#include "shell/Frame.h"
#include "shell/Input.h"
#include "shell/Particles.h"

#include <SDL_image.h>
#include <SDL_mixer.h>
#include <SDL_ttf.h>

#include <cstdlib>
#include <iostream>
#include <string>
#include <utility>

const char* const startCaption = "Curdovar II: WTLRQPDMNSBKGHVXZCFJ";
const char* const menuLevelPath = "data/levels/menu.lvl";

namespace {
constexpr const char* captionPrefix = "Curdovar II: ";  // followed by the level's name
constexpr int screenBitsPerPixel = 32;
constexpr Uint32 screenFlags = 0;       // a plain software surface
constexpr int audioRate = 22050;        // Hz
constexpr int audioChannels = 2;        // stereo
constexpr int audioChunkSamples = 512;  // small chunks keep effects in step with the picture

// How one pass of the outer loop ends.
enum PhaseResult : int {
    BackToMenu = 1,
    QuitGame = 2,
};

FrameObserver frameObserver;

SDL_Surface* openPicture() {
    return openDisplay(windowColumns * tileSize, windowRows * tileSize, screenFlags);
}

// The picture at the stored tile size, in the window at the chosen scale. A
// size SDL refuses falls back to the default once and is written back, so the
// next start does not fail the same way.
SDL_Surface* resizeWindow() {
    SDL_Surface* resized = openPicture();
    if (resized || tileSize == defaultTileSize) return resized;
    std::cerr << "Tile size " << tileSize << " cannot open a window (" << SDL_GetError()
              << "); using " << defaultTileSize << std::endl;
    tileSize = defaultTileSize;
    writePreferences();
    return openPicture();
}

// One visit of the menu level and the game that follows it. Owns the one
// Level in play for as long as the pass lasts.
class Pass {
public:
    // Plays the pass; QuitGame or BackToMenu.
    int run();

private:
    // The menu level's frames; true when the game phase follows, false on quit.
    bool playMenu();
    // The numbered levels' frames until game over or quit.
    int playGame();
    // A modal menu, then a fresh menu level in place of the old one.
    void openMenu(int (*menu)(SDL_Surface*));
    void startMenuLevel();
    // Shows the frame just played to whoever watches the run.
    void observe();
    // Everything a level left behind goes; the settings are saved.
    void releaseLevel();

    SDL_Surface* screen = nullptr;  // borrowed from SDL
    Level* level = nullptr;         // owned
    Uint32 frameDeadline = 0;       // the current frame must not end before this tick
};

int Pass::run() {
    int result = QuitGame;
    try {
        frameDeadline = clockTicks();
        readPreferences();
        screen = SDL_GetVideoSurface() ? resizeWindow() : nullptr;
        if (!screen) {
            std::cout << "Error setting up screen. " << SDL_GetError() << std::endl;
        } else {
            startMenuLevel();
            result = playMenu() ? playGame() : QuitGame;
        }
    } catch (...) {
        releaseLevel();
        throw;
    }
    releaseLevel();
    return result;
}

bool Pass::playMenu() {
    bool toGame = false;
    FrameHooks hooks;
    hooks.afterStep = [&](const FrameOutcome& frame) {
        if (frame.step == StepOpenOptions) {
            openMenu(runOptionsMenu);
        } else if (frame.step == StepOpenControls) {
            openMenu(runControlsMenu);
        } else if (frame.step == StepContinue) {
            level->continueFromCheckpoint();
            // A level reached by continuing is named in the window as one reached in play.
            const std::string caption = captionPrefix + level->getName();
            SDL_WM_SetCaption(caption.c_str(), nullptr);
            std::cout << "Exit Menu" << std::endl;
            toGame = true;
            return false;
        } else if (frame.step == StepLevelDone || frame.input.skip) {
            level->advanceLevel();
            std::cout << "Exit Menu" << std::endl;
            toGame = true;
            return false;
        }
        return true;
    };
    for (;;) {
        const FrameOutcome frame = playFrame(level, screen, &frameDeadline, hooks);
        if (frame.input.quit) return false;
        if (toGame) return true;
        observe();
        if (level->isGameOver()) return true;
    }
}

int Pass::playGame() {
    // Reloads the file advanceLevel named (or the menu level after a game over there).
    level->load("");
    FrameHooks hooks;
    hooks.afterStep = [&](const FrameOutcome& frame) {
        if (frame.step == StepLevelDone || frame.input.skip) {
            level->advanceLevel();
            const std::string caption = captionPrefix + level->getName();
            SDL_WM_SetCaption(caption.c_str(), nullptr);
        }
        return true;
    };
    for (;;) {
        const FrameOutcome frame = playFrame(level, screen, &frameDeadline, hooks);
        if (frame.input.quit) return QuitGame;
        observe();
        if (level->isGameOver()) return BackToMenu;
    }
}

void Pass::openMenu(int (*menu)(SDL_Surface*)) {
    // Closing the window inside a menu only leaves the menu, so its result is not looked at.
    screen = currentPicture(screen);
    menu(screen);
    screen = currentPicture(screen);
    releaseLevel();
    // An enlarged or full-screen window is made anew for a new tile size at
    // once, as a start-up would make it; a plain window keeps its size until
    // the next pass.
    if ((windowScale != 1 || fullScreen) && screen &&
        (screen->w != windowColumns * tileSize || screen->h != windowRows * tileSize)) {
        if (SDL_Surface* resized = resizeWindow()) screen = resized;
    }
    startMenuLevel();
}

void Pass::startMenuLevel() {
    screen = currentPicture(screen);
    level = new Level(0, screen);
    level->load(menuLevelPath);
}

void Pass::observe() {
    if (frameObserver) frameObserver(*level);
}

void Pass::releaseLevel() {
    delete level;
    level = nullptr;
    releaseMessageOverlay();
    clearParticles();
    writePreferences();
}
}  // namespace

bool initSystems(const char* caption, SDL_Surface** screen, int width, int height,
                 int bitsPerPixel, Uint32 flags) {
    std::cout << "Initializing..." << std::endl;
    if (SDL_Init(SDL_INIT_TIMER | SDL_INIT_AUDIO | SDL_INIT_VIDEO) == -1) {
        std::cout << "SDL failed to init: " << SDL_GetError() << std::endl;
        return false;
    }

    std::cout << "IMG..." << std::endl;
    if (IMG_Init(IMG_INIT_PNG) == -1) {
        std::cout << "IMG failed to init." << std::endl;
        return false;
    }

    std::cout << "TTF..." << std::endl;
    if (TTF_Init() == -1) {
        std::cout << "TTF failed to init." << std::endl;
        return false;
    }

    // Without a sound device the game still plays, silently.
    std::cout << "Mixer..." << std::endl;
    const bool audioOpened =
        Mix_OpenAudio(audioRate, AUDIO_S16LSB, audioChannels, audioChunkSamples) != -1;
    if (!audioOpened) {
        std::cout << "Mix Audio failed to init: " << SDL_GetError() << std::endl;
        std::cout << "No sound device: playing without sound" << std::endl;
    }
    setSoundDeviceOpen(audioOpened);

    std::cout << "Screen..." << std::endl;
    *screen = SDL_SetVideoMode(width, height, bitsPerPixel, flags);
    if (!*screen) {
        std::cout << "Error setting up screen. " << SDL_GetError() << std::endl;
        return false;
    }

    SDL_WM_SetCaption(caption, nullptr);
    std::atexit(SDL_Quit);
    std::cout << "SDL Initialized." << std::endl;
    return true;
}

SDL_Color backgroundColour(int levelNumber) {
    const int m = levelNumber % 5;
    SDL_Color colour;
    colour.r = static_cast<Uint8>(31 - 32 * m);
    colour.g = static_cast<Uint8>(m - 2);
    // Unsigned arithmetic: only the low 8 bits count, and huge numbers must not overflow.
    colour.b = static_cast<Uint8>(8u * static_cast<unsigned>(levelNumber) - 9u);
    colour.unused = 0;
    return colour;
}

void fillScreen(SDL_Surface* screen, SDL_Color colour) {
    if (!screen) return;
    SDL_FillRect(screen, nullptr, SDL_MapRGB(screen->format, colour.r, colour.g, colour.b));
}

void toggleMusic() {
    if (Mix_PausedMusic()) {
        Mix_ResumeMusic();
    } else {
        Mix_PauseMusic();
    }
}

void setFrameObserver(FrameObserver observer) {
    frameObserver = std::move(observer);
}

void runMainLoop() {
    int result = BackToMenu;
    // The picture belongs to this loop: it goes on every way out, an escaping
    // exception included.
    try {
        while (result != QuitGame) {
            Pass pass;
            result = pass.run();
        }
    } catch (...) {
        closeDisplay();
        throw;
    }
    closeDisplay();
}

int runGame() {
    // The window opens at once at the remembered scale, or full screen at the
    // desktop's size, which SDL tells only before any window is open.
    const WindowAndPadRead remembered = readWindowAndPad();
    setClockSpeed(gameSpeed);
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) == 0) rememberDesktopSize();
    const PresentLayout layout =
        layoutFor(windowColumns * tileSize, windowRows * tileSize, windowScale, fullScreen,
                  desktopWidth(), desktopHeight());
    const Uint32 flags = screenFlags | (fullScreen ? SDL_FULLSCREEN : 0);
    SDL_Surface* screen = nullptr;
    const bool started = initSystems(startCaption, &screen, layout.windowW, layout.windowH,
                                     screenBitsPerPixel, flags);
    if (started) {
        reportWindowAndPad(remembered);
        openPad();
        runMainLoop();
        closePad();
    }
    closeFontCache();
    releaseEffects();
    releaseMusic();
    SDL_Quit();
    std::cout << "Exited cleanly" << std::endl;
    // Launchers and scripts learn from the status whether the game could run at all.
    return started ? 0 : 1;
}

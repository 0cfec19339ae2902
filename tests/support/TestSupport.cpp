#include "tests/support/TestSupport.h"

#include "level/Level.h"
#include "media/Text.h"
#include "menus/MessageBox.h"
#include "menus/Settings.h"
#include "shell/Clock.h"
#include "shell/Display.h"
#include "shell/Input.h"
#include "shell/Particles.h"
#include "things/Blobber.h"
#include "things/Chomper.h"
#include "things/Flapper.h"

#include <gtest/gtest.h>

#include <sys/resource.h>

#include <csignal>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>
#include <unistd.h>

std::string sourceDir() { return CURDOVAR_SOURCE_DIR; }
std::string buildDir() { return CURDOVAR_BUILD_DIR; }

void resetGlobals() {
    closeDisplay();
    setDesktopSize(0, 0);
    resetSettings();
    closeFontCache();
    clearParticles();
    releaseMessageOverlay();
    resetChompClock();
    resetBlobClock();
    resetFlapClock();
    useRealClock();
    setClockSpeed(fullGameSpeed);
    camera = SDL_Rect{0, 0, 0, 0};
    if (background) {
        SDL_FreeSurface(background);
        background = nullptr;
    }
    resetPad();
    assumePadOpen(false);
    releaseAllKeys();
    drainEvents();
}

FailingWrites::FailingWrites() {
    std::cout.flush();
    std::cerr.flush();
    oldOut = std::cout.rdbuf(outText.rdbuf());
    oldErr = std::cerr.rdbuf(errText.rdbuf());
    oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit limit {};
    getrlimit(RLIMIT_FSIZE, &limit);
    oldLimit = limit.rlim_cur;
    limit.rlim_cur = 0;
    setrlimit(RLIMIT_FSIZE, &limit);
}

FailingWrites::~FailingWrites() {
    struct rlimit limit {};
    getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = static_cast<rlim_t>(oldLimit);
    setrlimit(RLIMIT_FSIZE, &limit);
    std::signal(SIGXFSZ, oldHandler);
    std::cout.rdbuf(oldOut);
    std::cerr.rdbuf(oldErr);
}

ScratchDir::ScratchDir() {
    char buffer[4096];
    if (getcwd(buffer, sizeof buffer)) previous = buffer;
    char pattern[] = "/tmp/curdovar-test-XXXXXX";
    const char* made = mkdtemp(pattern);
    if (!made) throw std::runtime_error("mkdtemp failed");
    root = made;
    const std::string folders =
        "mkdir -p '" + root + "/data/levels' '" + root + "/data/images/16' '" + root +
        "/data/images/32' '" + root + "/data/preferences' '" + root + "/data/sound/music' '" +
        root + "/data/fonts'";
    if (std::system(folders.c_str()) != 0) throw std::runtime_error("mkdir failed");
    if (chdir(root.c_str()) != 0) throw std::runtime_error("chdir failed");
    resetGlobals();
}

ScratchDir::~ScratchDir() {
    resetGlobals();
    if (!previous.empty() && chdir(previous.c_str()) != 0) {
        ADD_FAILURE() << "could not return to " << previous;
    }
    const std::string remove = "rm -rf '" + root + "'";
    if (std::system(remove.c_str()) != 0) ADD_FAILURE() << "could not remove " << root;
}

void ScratchDir::write(const std::string& relative, const std::string& content) const {
    std::ofstream out(root + "/" + relative, std::ios::binary);
    out << content;
}

std::string ScratchDir::read(const std::string& relative) const {
    std::ifstream in(root + "/" + relative, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

bool ScratchDir::exists(const std::string& relative) const {
    return access((root + "/" + relative).c_str(), F_OK) == 0;
}

void ScratchDir::useShipped(const std::string& folder) const {
    const std::string link = "rm -rf '" + root + "/data/" + folder + "' && ln -s '" +
                             sourceDir() + "/data/" + folder + "' '" + root + "/data/" +
                             folder + "'";
    if (std::system(link.c_str()) != 0) ADD_FAILURE() << "could not link " << folder;
}

void ScratchDir::writeImage(int size, const std::string& name, int w, int h, Uint8 r, Uint8 g,
                            Uint8 b) const {
    SDL_Surface* surface = SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 32, 0x00FF0000, 0x0000FF00,
                                                0x000000FF, 0);
    SDL_FillRect(surface, nullptr, SDL_MapRGB(surface->format, r, g, b));
    const std::string file =
        root + "/data/images/" + std::to_string(size) + "/" + name + ".bmp";
    SDL_SaveBMP(surface, file.c_str());
    SDL_FreeSurface(surface);
}

void setKey(int key, bool down) {
    int count = 0;
    Uint8* keys = SDL_GetKeyState(&count);
    if (key >= 0 && key < count) keys[key] = down ? 1 : 0;
}

void releaseAllKeys() {
    int count = 0;
    Uint8* keys = SDL_GetKeyState(&count);
    for (int i = 0; i < count; ++i) keys[i] = 0;
}

void pushPadAxis(int axis, int value) {
    SDL_Event event = {};
    event.type = SDL_JOYAXISMOTION;
    event.jaxis.type = SDL_JOYAXISMOTION;
    event.jaxis.axis = static_cast<Uint8>(axis);
    event.jaxis.value = static_cast<Sint16>(value);
    SDL_PushEvent(&event);
}

void pushPadHat(Uint8 value) {
    SDL_Event event = {};
    event.type = SDL_JOYHATMOTION;
    event.jhat.type = SDL_JOYHATMOTION;
    event.jhat.value = value;
    SDL_PushEvent(&event);
}

void pushPadButton(int button, bool down) {
    SDL_Event event = {};
    event.type = down ? SDL_JOYBUTTONDOWN : SDL_JOYBUTTONUP;
    event.jbutton.type = event.type;
    event.jbutton.button = static_cast<Uint8>(button);
    event.jbutton.state = down ? SDL_PRESSED : SDL_RELEASED;
    SDL_PushEvent(&event);
}

void pushKeyDown(int key) {
    SDL_Event event;
    event.type = SDL_KEYDOWN;
    event.key.type = SDL_KEYDOWN;
    event.key.which = 0;
    event.key.state = SDL_PRESSED;
    event.key.keysym.scancode = 0;
    event.key.keysym.sym = static_cast<SDLKey>(key);
    event.key.keysym.mod = KMOD_NONE;
    event.key.keysym.unicode = 0;
    SDL_PushEvent(&event);
}

void pushMouseDown(int x, int y, int button) {
    SDL_Event event;
    event.type = SDL_MOUSEBUTTONDOWN;
    event.button.type = SDL_MOUSEBUTTONDOWN;
    event.button.which = 0;
    event.button.button = static_cast<Uint8>(button);
    event.button.state = SDL_PRESSED;
    event.button.x = static_cast<Uint16>(x);
    event.button.y = static_cast<Uint16>(y);
    SDL_PushEvent(&event);
}

void pushQuit() {
    SDL_Event event;
    event.type = SDL_QUIT;
    SDL_PushEvent(&event);
}

void drainEvents() {
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
    }
}

SDL_Color pixelAt(SDL_Surface* surface, int x, int y) {
    SDL_LockSurface(surface);
    const Uint32 pixel =
        *reinterpret_cast<Uint32*>(static_cast<Uint8*>(surface->pixels) + y * surface->pitch + x * 4);
    SDL_UnlockSurface(surface);
    SDL_Color colour;
    SDL_GetRGB(pixel, surface->format, &colour.r, &colour.g, &colour.b);
    colour.unused = 0;
    return colour;
}

#include "menus/Settings.h"

#include "shell/WholeFile.h"

#include <SDL.h>

#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

namespace {
constexpr bool defaultMusicOn = true;   // a fresh install plays its music
constexpr int defaultReservedSetting = 0;
constexpr int largestWindowEdge = 16383;   // SDL 1.2 refuses a window wider than this

// A tile size the window can be made with: 20 tiles across must fit what SDL opens.
bool isUsableTileSize(int size) {
    return size > 0 && size <= largestWindowEdge / windowColumns;
}

// A code SDL 1.2 can hold in its keyboard state; 0 means unbound.
bool isUsableKeyCode(int code) {
    return code >= 0 && code < SDLK_LAST;
}

constexpr int defaultWindowScale = 1;
constexpr std::string::size_type longestSettingsLine = 200;  // characters; longer is not ours

// Reads "scale N", "fullscreen 0|1", "speed PERCENT" and "pad B B B B B B" lines into the
// window and pad settings; false at the first line that is not one of them.
bool parseWindowAndPad(std::istream& in) {
    std::string line;
    while (std::getline(in, line)) {
        if (line.size() > longestSettingsLine) return false;
        std::istringstream fields(line);
        std::string name;
        if (!(fields >> name) || name[0] == '#') continue;
        if (name == "scale") {
            int scale = 0;
            if (!(fields >> scale) || scale < 1 || scale > largestWindowScale) return false;
            windowScale = scale;
        } else if (name == "fullscreen") {
            int on = 0;
            if (!(fields >> on) || (on != 0 && on != 1)) return false;
            fullScreen = on == 1;
        } else if (name == "speed") {
            int speed = 0;
            if (!(fields >> speed) || speed < slowestGameSpeed || speed > fullGameSpeed) {
                return false;
            }
            gameSpeed = speed;
        } else if (name == "pad") {
            int buttons[userKeyCount];
            for (int& button : buttons) {
                if (!(fields >> button) || button < noPadButton || button >= padButtonLimit) {
                    return false;
                }
            }
            for (int i = 0; i < userKeyCount; ++i) padButtons[i] = buttons[i];
        } else {
            return false;
        }
        std::string extra;
        if (fields >> extra) return false;
    }
    return true;
}

void resetWindowAndPad() {
    windowScale = defaultWindowScale;
    gameSpeed = fullGameSpeed;
    fullScreen = false;
    for (int i = 0; i < userKeyCount; ++i) padButtons[i] = defaultPadButtons[i];
}
}  // namespace

bool musicOn = defaultMusicOn;
int tileSize = defaultTileSize;
int reservedSetting = defaultReservedSetting;
const int defaultUserKeys[userKeyCount] = {SDLK_KP4, SDLK_a, SDLK_d, SDLK_q, SDLK_e, SDLK_s};
int userKeys[userKeyCount] = {SDLK_KP4, SDLK_a, SDLK_d, SDLK_q, SDLK_e, SDLK_s};
const char* const prefsPath = "data/preferences/prefs.cdv";
int windowScale = defaultWindowScale;
int gameSpeed = fullGameSpeed;
bool fullScreen = false;
const int defaultPadButtons[userKeyCount] = {0, noPadButton, noPadButton, 2, 1, 3};
int padButtons[userKeyCount] = {0, noPadButton, noPadButton, 2, 1, 3};
const char* const windowAndPadPath = "data/preferences/window-and-pad.cdv";
const char* const userKeyCaptions[userKeyCount] = {"Jump",       "Left",     "Right",
                                                   "Query Hint", "Lay Bomb", "Explode All"};

void readPreferences() {
    std::ifstream in(prefsPath);
    if (!in) {
        std::cout << "No prefs file found" << std::endl;
        return;
    }
    std::cout << "Reading prefs from " << prefsPath << std::endl;

    // No checks between the reads: once one fails the stream stays failed and
    // every later target keeps what it holds, as a short file needs.
    in >> musicOn;
    in >> tileSize;
    in >> reservedSetting;

    // A code the file does not hold keeps the binding it had: a short or
    // broken file must not leave the hero without keys, and the rewrite
    // after the pass then stores usable ones.
    std::string kept;
    for (int i = 0; i < userKeyCount; ++i) {
        int code = 0;
        if (!(in >> code)) {
            kept += (kept.empty() ? "" : ", ") + std::string(userKeyCaptions[i]);
        } else if (isUsableKeyCode(code)) {
            userKeys[i] = code;
        } else {
            std::cerr << "Key code " << code << " for " << userKeyCaptions[i]
                      << " is not a key; keeping " << defaultUserKeys[i] << std::endl;
            userKeys[i] = defaultUserKeys[i];
        }
    }
    if (!kept.empty()) std::cout << "No key codes in the prefs file for " << kept
                                 << "; keeping their keys" << std::endl;
    in.close();

    if (!isUsableTileSize(tileSize)) {
        std::cerr << "Tile size " << tileSize << " cannot make a window; using "
                  << defaultTileSize << std::endl;
        tileSize = defaultTileSize;
    }
}

bool writePreferences() {
    std::ostringstream out;
    out << (musicOn ? 1 : 0) << '\n' << tileSize << '\n' << reservedSetting << '\n';
    for (int i = 0; i < userKeyCount; ++i) out << userKeys[i] << ' ';
    out << '\n';
    return writeWholeFile(prefsPath, out.str());
}

WindowAndPadRead readWindowAndPad() {
    resetWindowAndPad();
    std::ifstream in(windowAndPadPath);
    if (!in) return WindowAndPadRead::Missing;
    if (parseWindowAndPad(in)) return WindowAndPadRead::Read;
    resetWindowAndPad();
    return WindowAndPadRead::Broken;
}

void reportWindowAndPad(WindowAndPadRead result) {
    if (result == WindowAndPadRead::Missing) {
        std::cout << "No window settings found: scale 1, windowed" << std::endl;
    } else if (result == WindowAndPadRead::Broken) {
        std::cout << "Window settings in " << windowAndPadPath
                  << " are broken: scale 1, windowed, default pad buttons" << std::endl;
    }
}

bool writeWindowAndPad() {
    std::ostringstream out;
    out << "# Curdovar II: the window and the gamepad\n";
    out << "scale " << windowScale << '\n';
    out << "fullscreen " << (fullScreen ? 1 : 0) << '\n';
    // Full speed is not written, so a file of full-speed play reads as before.
    if (gameSpeed != fullGameSpeed) out << "speed " << gameSpeed << '\n';
    out << "pad";
    for (int i = 0; i < userKeyCount; ++i) out << ' ' << padButtons[i];
    out << '\n';
    return writeWholeFile(windowAndPadPath, out.str());
}

bool bindPadButton(int action, int button) {
    bool changed = padButtons[action] != button;
    padButtons[action] = button;
    // One press must not stand for two actions at once.
    for (int i = 0; i < userKeyCount; ++i) {
        if (i != action && button != noPadButton && padButtons[i] == button) {
            padButtons[i] = noPadButton;
            changed = true;
        }
    }
    return changed;
}

int getUserKey(int index) {
    if (index >= 0 && index < userKeyCount) return userKeys[index];
    std::cerr << index << " not a valid UserKey!" << std::endl;
    return SDLK_UNKNOWN;
}

bool keyBoundToAction(int key) {
    for (int action = 0; action < userKeyCount; ++action) {
        if (userKeys[action] == key) return true;
    }
    return false;
}

const int fixedKeys[fixedKeyCount] = {SDLK_LEFT, SDLK_RIGHT, SDLK_SPACE, SDLK_UP};
const int fixedKeyActions[fixedKeyCount] = {KeyLeft, KeyRight, KeyJump, KeyJump};

int fixedKeyAction(int key) {
    if (key == SDLK_UNKNOWN || keyBoundToAction(key)) return -1;
    for (int i = 0; i < fixedKeyCount; ++i) {
        if (fixedKeys[i] == key) return fixedKeyActions[i];
    }
    return -1;
}

void resetSettings() {
    musicOn = defaultMusicOn;
    tileSize = defaultTileSize;
    reservedSetting = defaultReservedSetting;
    for (int i = 0; i < userKeyCount; ++i) userKeys[i] = defaultUserKeys[i];
    resetWindowAndPad();
}

#pragma once

// The game's settings, kept in process-wide variables, read from and written
// to data/preferences/prefs.cdv.

// The bindable actions, indexes into userKeys.
enum UserKey : int {
    KeyJump = 0,
    KeyLeft = 1,
    KeyRight = 2,
    KeyQueryHint = 3,
    KeyLayBomb = 4,
    KeyExplodeAll = 5,
};
constexpr int userKeyCount = 6;

constexpr int defaultTileSize = 32;  // pixels; the window is then 640 by 480
constexpr int windowColumns = 20;    // the window is 20 by 15 tiles
constexpr int windowRows = 15;

extern bool musicOn;          // whether level music is started
extern int tileSize;          // tile edge in pixels; the window is 20 by 15 tiles
extern int reservedSetting;   // stored and read back unchanged
extern int userKeys[userKeyCount];  // SDL key codes, indexed by UserKey

extern const char* const prefsPath;                      // "data/preferences/prefs.cdv"
extern const char* const userKeyCaptions[userKeyCount];  // "Jump" ... "Explode All"
extern const int defaultUserKeys[userKeyCount];

void readPreferences();
// Written whole: a failed write keeps the old file and says so on standard error.
bool writePreferences();

// The key bound to an action; 0 (with a line on standard error) for an index above 5.
int getUserKey(int index);

// Whether any action is bound to the key.
bool keyBoundToAction(int key);

// The fixed second keys, which work beside the bindings: the left and right
// arrows walk, Space and the up arrow jump. A fixed key bound to an action
// belongs to that action alone.
constexpr int fixedKeyCount = 4;
extern const int fixedKeys[fixedKeyCount];        // SDL key codes
extern const int fixedKeyActions[fixedKeyCount];  // the UserKey each stands for

// The action a key stands for as a fixed key now; -1 for a key that is not
// one, or is bound to an action.
int fixedKeyAction(int key);

// Puts every setting back to its built-in default, the window and pad ones too.
void resetSettings();

// The window and the gamepad, kept in a file of their own so that prefs.cdv
// keeps its four lines.
constexpr int noPadButton = -1;  // an action no pad button triggers
constexpr int largestWindowScale = 16;  // no desktop holds more
constexpr int padButtonLimit = 64;      // button numbers 0 to 63 can be stored

constexpr int fullGameSpeed = 100;    // percent
constexpr int slowestGameSpeed = 25;  // percent; a stored speed below it is not ours

extern int windowScale;  // whole-number enlargement of the picture in a window, 1 and up
extern int gameSpeed;    // percent of full speed: frames and the game clock stretch below 100
extern bool fullScreen;  // the picture as large as the desktop holds, centred on black
extern int padButtons[userKeyCount];  // the pad button bound to each action, or noPadButton
extern const int defaultPadButtons[userKeyCount];
extern const char* const windowAndPadPath;  // "data/preferences/window-and-pad.cdv"

// How reading the window and pad settings went.
enum class WindowAndPadRead { Read, Missing, Broken };

// Replaces the window and pad settings with the file's; a missing or broken
// file gives scale 1, windowed and the default buttons. Prints nothing: the
// game reads it before SDL starts and says how it went afterwards.
WindowAndPadRead readWindowAndPad();
// One line on standard output for a missing or broken file; nothing otherwise.
void reportWindowAndPad(WindowAndPadRead result);
// Writes them whole (a failed write keeps the old file); false on failure.
bool writeWindowAndPad();

// Gives a pad button to one action, taking it from any other that had it;
// true when any binding changed.
bool bindPadButton(int action, int button);

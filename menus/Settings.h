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
void writePreferences();

// The key bound to an action; 0 (with a line on standard error) for an index above 5.
int getUserKey(int index);

// Puts every setting back to its built-in default.
void resetSettings();

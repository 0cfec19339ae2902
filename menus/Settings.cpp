#include "menus/Settings.h"
bool musicOn = false;
int tileSize = 32;
int reservedSetting = 0;
const int defaultUserKeys[userKeyCount] = {260, 97, 100, 113, 101, 115};
int userKeys[userKeyCount] = {260, 97, 100, 113, 101, 115};
const char* const prefsPath = "data/preferences/prefs.cdv";
const char* const userKeyCaptions[userKeyCount] = {"Jump", "Left", "Right", "Query Hint", "Lay Bomb", "Explode All"};
void readPreferences() {}
void writePreferences() {}
int getUserKey(int index) { return index >= 0 && index < userKeyCount ? userKeys[index] : 0; }
void resetSettings() {}

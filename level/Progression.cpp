#include "level/Level.h"
bool Level::advanceLevel() { return false; }
std::string musicTrackName(int) { return ""; }

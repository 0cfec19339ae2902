#include "level/Level.h"
void Level::makePath() {}
bool Level::load(const std::string&) { return false; }
bool Level::readCell(std::istream&, int, int) { return false; }
std::string underscoresToSpaces(std::string text) { return text; }

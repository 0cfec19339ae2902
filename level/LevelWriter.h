#pragma once

#include <ostream>
#include <string>

class LevelDraft;

// The one writer of level files. What it writes the game's loader reads
// back as the draft says; a file read into a draft and written unchanged
// comes back byte for byte (a file with Windows line ends comes back with
// plain ones).

// The size line, one line per column with each object's parameters after
// its value, the name line, then the draft's trailer.
void writeLevel(std::ostream& out, const LevelDraft& draft);
std::string levelText(const LevelDraft& draft);

// Writes the file whole or not at all (through a temporary beside it).
bool saveLevel(const std::string& path, const LevelDraft& draft);

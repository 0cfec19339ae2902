#pragma once

#include <string>
#include <vector>

// Reading the text sources: lines split into words with comments dropped,
// numbers, note names and the cells of a note row.

struct SourceLine {
    int number = 0;                  // 1-based line in the file
    std::vector<std::string> words;  // never empty
};

// Reads path into its non-blank lines; a word starting with "#" starts a
// comment (so "F#4" stays a note). False when the
// file cannot be read.
bool readSource(const std::string& path, std::vector<SourceLine>& lines);

// A whole word as a number ("0.25", "-3", "1e3"); false for anything else.
bool parseNumber(const std::string& word, double& value);

// A note name: letter A to G, optional "#" or "b", octave 0 to 9 ("C4" is
// middle C, "A4" 440 Hz). Gives the MIDI key number (C4 = 60).
bool parseNoteName(const std::string& word, int& key);

// Hz of a MIDI key number, with a fractional transposition in semitones.
double keyFrequency(double key);

// A pitch written either as a note name or as Hz.
bool parsePitch(const std::string& word, double& hertz);

// One step of a note row.
struct Cell {
    enum Kind { Hold, Off, Play };
    Kind kind = Hold;      // Hold: "." the sounding note goes on; Off: "-" it is released
    std::vector<int> keys; // the notes of a Play; empty for a hit ("x") at the voice's pitch
    double velocity = 1;
};

// "." hold, "-" release, "X" loud hit, "x" hit, "o" soft hit, "C4" a note,
// "C4+E4+G4" a chord.
bool parseCell(const std::string& word, Cell& cell);

// "file:line: message", the form every source error takes.
std::string sourceError(const std::string& path, int line, const std::string& message);

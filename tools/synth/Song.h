#pragma once

#include "tools/synth/SourceText.h"
#include "tools/synth/Voice.h"

#include <cstdint>
#include <string>
#include <vector>

// A music track written like a tracker module. Source text (one ".song" file):
//
//   tempo 120          # beats per minute
//   rows 4             # rows per beat
//   swing 0.1          # every second row comes this share of a row late
//   peak -2            # dBFS the finished loop is scaled to
//   echo 0.3 0.4 3000 0.5  # echo: delay seconds, feedback, damping lowpass Hz,
//                          # and the share that bounces from side to side
//   room 0.8 0.3       # reverb: size 0 to 1, damping of its highs 0 to 1
//
//   instrument bass    # a voice, settings as for effects, plus "echo SEND",
//     wave triangle    # "room SEND", "pan PLACE" (-1 left to 1 right) and
//     pan -0.3         # "spread AMOUNT" (unison copies or chord notes fanned out)
//
//   pattern verse      # one line per part: instrument name, then one cell per row
//     bass  C2 . . . | G1 . - .
//
//   song verse verse*2 chorus+5 verse&drums
//
// In the song line "*N" repeats, "+N"/"-N" transposes (hits stay put), and
// "a&b" plays patterns of equal length together. "|" in a row is only for the
// eye. A note sounds until the next note or "-" of its line; it carries over
// into the next pattern when that pattern has the same line and starts with ".".
// The song loops: the tails at its end sound again under its beginning.

struct Instrument {
    std::string name;
    Voice voice;
};

struct PatternLine {
    int instrument = 0;
    std::vector<Cell> cells;
};

struct Pattern {
    std::string name;
    int rows = 0;
    std::vector<PatternLine> lines;
};

struct Layer {
    int pattern = 0;
    int transpose = 0;  // semitones
};

struct SongStep {
    std::vector<Layer> layers;
    int rows = 0;
};

struct Song {
    double tempo = 120;
    int rowsPerBeat = 4;
    double swing = 0;
    double peakDb = -3;
    double echoDelay = 0;     // seconds; 0 is no echo
    double echoFeedback = 0;
    double echoDamp = 4000;   // Hz
    double echoCross = 0;     // share of each repeat that lands on the other side
    double roomSize = 0;      // 0 is no reverb
    double roomDamp = 0.3;    // how fast the reverb loses its highs, 0 to 1
    std::vector<Instrument> instruments;
    std::vector<Pattern> patterns;
    std::vector<SongStep> steps;
};

// Parses a song source; on failure error holds "path:line: message".
bool readSong(const std::string& path, Song& song, std::string& error);

// Rows in one pass through the song.
long songRows(const Song& song);

// Renders one pass of the loop at sampleRate, stereo (left and right
// interleaved): exactly songRows rows long, with the tails of the previous
// pass (notes, echo, reverb) folded in so the end runs on into the beginning,
// and turned by a few samples so it starts where both sides are quiet.
std::vector<int16_t> renderSong(const Song& song);

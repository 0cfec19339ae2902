#pragma once

#include "tools/synth/Voice.h"

#include <cstdint>
#include <string>
#include <vector>

// A sound effect: layered voices, each playing one note or a short run of
// notes from its own start time. Source text (one ".sfx" file per effect):
//
//   peak -4                 # dBFS the finished effect is scaled to
//   voice                   # a new layer; the voice settings follow
//     wave square 0.25
//     pitch C5              # the note when no "notes" line is given
//     gate 0.1              # seconds the note is held
//     start 0.05            # seconds after the effect begins
//     notes 0.07 C5 E5 . G5 # or: seconds per step, then one cell per step

struct EffectVoice {
    Voice voice;
    double start = 0;               // seconds
    double step = 0;                // seconds per cell of notes
    std::vector<std::string> notes; // cells; empty plays one note at the voice's pitch
};

struct Effect {
    double peakDb = -3;
    std::vector<EffectVoice> voices;
};

// Parses an effect source; on failure error holds "path:line: message".
bool readEffect(const std::string& path, Effect& effect, std::string& error);

// Renders the effect at sampleRate, mono, scaled to its peak, with short
// fades at both ends so it starts and stops without a click.
std::vector<int16_t> renderEffect(const Effect& effect);

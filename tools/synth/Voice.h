#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The one sound model shared by effects and music instruments: an oscillator
// (optionally detuned copies and a frequency-modulating sine), a pitch that can
// sweep, wobble and arpeggiate, an ADSR envelope and a chain of filters.

constexpr int sampleRate = 22050;  // Hz, the mixer's own rate, so nothing is resampled

enum class Wave { Sine, Square, Triangle, Saw, Noise, SteppedNoise };
enum class FilterKind { Lowpass, Highpass, Bandpass };

struct Filter {
    FilterKind kind = FilterKind::Lowpass;
    double cutoff = 1000;    // Hz at the start of the note
    double q = 0.707;        // resonance; 0.707 is flat
    double endCutoff = 0;    // Hz reached after sweepTime; 0 keeps the cutoff still
    double sweepTime = 0;    // seconds
};

struct Voice {
    Wave wave = Wave::Square;
    double duty = 0.5;              // high part of a square's cycle
    double pitch = 440;             // Hz of a hit that names no note
    double sweepFrom = 0;           // semitones added at the start of the note
    double sweepTo = 0;             // semitones added from sweepTime on
    double sweepTime = 0;           // seconds
    double vibratoRate = 0;         // Hz
    double vibratoDepth = 0;        // semitones either way
    double vibratoDelay = 0;        // seconds before the wobble fades in
    std::vector<double> arpeggio;   // semitone offsets cycled through
    double arpeggioStep = 0;        // seconds per offset
    double fmRatio = 0;             // modulator frequency / note frequency; 0 is off
    double fmIndex = 0;             // modulation depth in radians at the start
    double fmDecay = 0;             // seconds for the depth to fall by e; 0 holds it
    int unison = 1;                 // detuned copies of the oscillator
    double unisonCents = 0;         // spread between the outermost copies
    double attack = 0.002;          // seconds
    double decay = 0.1;             // seconds from full level down to sustain
    double sustain = 1;             // level while held, 0 to 1
    double release = 0.05;          // seconds from the gate's end to silence
    double fixedGate = 0;           // seconds every note is held; 0 follows the notes
    std::vector<Filter> filters;    // applied in order
    double volume = 1;              // gain of the voice
    double echoSend = 0;            // share sent to a song's echo
    double roomSend = 0;            // share sent to a song's room reverb
    double pan = 0;                 // place in a song's stereo field, -1 left to 1 right
    double spread = 0;              // unison copies (or a chord's notes) fanned out this far either side
};

// One played note of a voice.
struct Note {
    std::vector<double> frequencies;  // Hz; more than one is a chord
    double velocity = 1;              // gain of this note
    double gate = 0.1;                // seconds held before the release
};

// Seconds from the note's start to the end of its release.
double noteSeconds(const Voice& voice, const Note& note);

// Adds the note into out from index start on. With wrap the index runs round
// the end of out (a loop); without it the part past the end is dropped.
void renderNote(const Voice& voice, const Note& note, uint32_t seed, std::vector<double>& out,
                long start, bool wrap);

// The same note placed in the stereo field by the voice's pan and spread,
// added into left and right (equal sizes) from index start on.
void renderNoteStereo(const Voice& voice, const Note& note, uint32_t seed, std::vector<double>& left,
                      std::vector<double>& right, long start, bool wrap);

enum class SettingResult { Applied, Unknown, Invalid };

// Applies one "key args..." line of a voice description; on Invalid, error
// says what is wrong with the arguments.
SettingResult applyVoiceSetting(Voice& voice, const std::string& key,
                                const std::vector<std::string>& args, std::string& error);

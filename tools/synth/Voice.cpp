#include "tools/synth/Voice.h"

#include "tools/synth/Random.h"
#include "tools/synth/SourceText.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr double pi = 3.14159265358979323846;
constexpr double minimumAttack = 0.001;   // seconds; a sudden start clicks
constexpr double minimumRelease = 0.004;  // seconds; so does a sudden stop
constexpr double lowestCutoff = 20;       // Hz
constexpr double highestCutoff = 0.45 * sampleRate;  // Hz, just below Nyquist
constexpr double lowestQ = 0.3;
constexpr int maximumUnison = 8;

double cube(double x) { return x * x * x; }

// Level of the envelope t seconds into the note while the gate is still held.
double heldLevel(const Voice& v, double t) {
    const double attack = std::max(v.attack, minimumAttack);
    if (t < attack) return t / attack;
    t -= attack;
    if (v.decay > 0 && t < v.decay) return v.sustain + (1 - v.sustain) * cube(1 - t / v.decay);
    return v.sustain;
}

double envelope(const Voice& v, double t, double gate) {
    if (t < gate) return heldLevel(v, t);
    const double release = std::max(v.release, minimumRelease);
    const double r = (t - gate) / release;
    if (r >= 1) return 0;
    return heldLevel(v, gate) * cube(1 - r);
}

// Smooths the step of a naive saw or square over one sample either side of
// the wrap, which keeps high notes from folding back as harsh aliases.
double polyBlep(double t, double dt) {
    if (t < dt) {
        t /= dt;
        return t + t - t * t - 1;
    }
    if (t > 1 - dt) {
        t = (t - 1) / dt;
        return t * t + t + t + 1;
    }
    return 0;
}

double wrapPhase(double p) { return p - std::floor(p); }

// A state-variable filter in trapezoidal form: stable while its cutoff moves.
class SvFilter {
public:
    explicit SvFilter(const Filter& f) : spec(f) { tune(f.cutoff); }

    double process(double in, double t) {
        if (spec.endCutoff > 0 && spec.sweepTime > 0) {
            const double x = std::min(t / spec.sweepTime, 1.0);
            tune(spec.cutoff * std::pow(spec.endCutoff / spec.cutoff, x));
        }
        const double v3 = in - ic2;
        const double v1 = a1 * ic1 + a2 * v3;
        const double v2 = ic2 + a2 * ic1 + a3 * v3;
        ic1 = 2 * v1 - ic1;
        ic2 = 2 * v2 - ic2;
        switch (spec.kind) {
        case FilterKind::Lowpass: return v2;
        case FilterKind::Bandpass: return v1;
        case FilterKind::Highpass: return in - k * v1 - v2;
        }
        return v2;
    }

private:
    void tune(double cutoff) {
        cutoff = std::clamp(cutoff, lowestCutoff, highestCutoff);
        const double g = std::tan(pi * cutoff / sampleRate);
        k = 1 / std::max(spec.q, lowestQ);
        a1 = 1 / (1 + g * (g + k));
        a2 = g * a1;
        a3 = g * a2;
    }

    Filter spec;
    double k = 1, a1 = 0, a2 = 0, a3 = 0;
    double ic1 = 0, ic2 = 0;
};

// One running copy of the oscillator.
struct Oscillator {
    double phase = 0;
    double modPhase = 0;
    double held = 0;  // the stepped noise's current value
};

double oscillate(const Voice& v, Oscillator& osc, double increment, double modulation,
                 Random& random) {
    const bool modulated = modulation != 0;
    const double p = modulated ? wrapPhase(osc.phase + modulation / (2 * pi)) : osc.phase;
    double out = 0;
    switch (v.wave) {
    case Wave::Sine: out = std::sin(2 * pi * p); break;
    case Wave::Triangle: out = 1 - 4 * std::fabs(p - 0.5); break;
    case Wave::Saw:
        out = 2 * p - 1;
        if (!modulated) out -= polyBlep(p, increment);
        break;
    case Wave::Square:
        out = (p < v.duty ? 1.0 : -1.0) - (2 * v.duty - 1);  // no steady offset
        if (!modulated) out += polyBlep(p, increment) - polyBlep(wrapPhase(p + 1 - v.duty), increment);
        break;
    case Wave::Noise: out = random.bipolar(); break;
    case Wave::SteppedNoise: out = osc.held; break;
    }
    osc.phase += increment;
    if (osc.phase >= 1) {
        osc.phase -= std::floor(osc.phase);
        if (v.wave == Wave::SteppedNoise) osc.held = random.bipolar();
    }
    return out;
}

// Semitones the pitch is moved by t seconds into the note.
double pitchOffset(const Voice& v, double t) {
    double semitones = v.sweepTo;
    if (v.sweepTime > 0 && t < v.sweepTime) {
        semitones = v.sweepFrom + (v.sweepTo - v.sweepFrom) * (t / v.sweepTime);
    }
    if (v.vibratoDepth != 0 && v.vibratoRate > 0 && t > v.vibratoDelay) {
        // The wobble fades in over as long again as it waited.
        const double ramp = v.vibratoDelay > 0 ? std::min((t - v.vibratoDelay) / v.vibratoDelay, 1.0) : 1.0;
        semitones += ramp * v.vibratoDepth * std::sin(2 * pi * v.vibratoRate * (t - v.vibratoDelay));
    }
    if (!v.arpeggio.empty() && v.arpeggioStep > 0) {
        const std::size_t step = static_cast<std::size_t>(t / v.arpeggioStep) % v.arpeggio.size();
        semitones += v.arpeggio[step];
    }
    return semitones;
}

bool pitchMoves(const Voice& v) {
    return v.sweepTime > 0 || (v.vibratoDepth != 0 && v.vibratoRate > 0) ||
           (!v.arpeggio.empty() && v.arpeggioStep > 0);
}

// Parses every argument as a number; false (with error) on the first that is not.
bool numbers(const std::vector<std::string>& args, std::vector<double>& values, std::string& error) {
    values.clear();
    for (const std::string& word : args) {
        double value = 0;
        if (!parseNumber(word, value)) {
            error = "\"" + word + "\" is not a number";
            return false;
        }
        values.push_back(value);
    }
    return true;
}

SettingResult invalid(std::string& error, const std::string& message) {
    error = message;
    return SettingResult::Invalid;
}
}  // namespace

double noteSeconds(const Voice& voice, const Note& note) {
    const double gate = voice.fixedGate > 0 ? voice.fixedGate : note.gate;
    return gate + std::max(voice.release, minimumRelease);
}

namespace {
// Where copy c of n sits in the field, the copies fanned evenly across the spread.
double fannedPan(const Voice& voice, int c, int n) {
    const double offset = n > 1 ? (2.0 * c / (n - 1) - 1) * voice.spread : 0;
    return std::clamp(voice.pan + offset, -1.0, 1.0);
}

// Renders one note into out, or, when right is given, into out as the left
// side and right as the right side. Both sides get their own filter chain;
// the filters are linear, so a centred voice sounds the same on either side.
void renderInto(const Voice& voice, const Note& note, uint32_t seed, std::vector<double>& out,
                std::vector<double>* right, long start, bool wrap) {
    if (out.empty() || note.frequencies.empty()) return;
    const double gate = voice.fixedGate > 0 ? voice.fixedGate : note.gate;
    const long length = std::lround(noteSeconds(voice, note) * sampleRate);
    const long size = static_cast<long>(out.size());
    Random random(seed);

    // Every note of a chord gets its own copies; copies start at scattered
    // phases so that a chord or unison does not begin with one spike.
    const int copies = std::clamp(voice.unison, 1, maximumUnison);
    const int chord = static_cast<int>(note.frequencies.size());
    std::vector<Oscillator> oscillators;
    std::vector<double> ratios;
    std::vector<double> bases;
    std::vector<double> leftGains, rightGains;  // constant power: the level stays put wherever it sits
    for (int f = 0; f < chord; ++f) {
        for (int c = 0; c < copies; ++c) {
            const double spread = copies > 1 ? (c / double(copies - 1) - 0.5) * voice.unisonCents : 0;
            Oscillator osc;
            osc.phase = copies > 1 || chord > 1 ? random.unit() : 0;
            osc.held = random.bipolar();
            oscillators.push_back(osc);
            ratios.push_back(std::pow(2.0, spread / 1200));
            bases.push_back(note.frequencies[f]);
            const double place = copies > 1 ? fannedPan(voice, c, copies) : fannedPan(voice, f, chord);
            // cos of the angle from either side, so a centred copy gets the same gain on both.
            const double angle = (place + 1) * pi / 4;
            leftGains.push_back(std::cos(angle));
            rightGains.push_back(std::cos(pi / 2 - angle));
        }
    }
    const double mixGain = 1 / std::sqrt(double(oscillators.size()));
    std::vector<SvFilter> filters, rightFilters;
    for (const Filter& f : voice.filters) filters.emplace_back(f);
    if (right) rightFilters = filters;

    const bool moving = pitchMoves(voice);
    double bend = std::pow(2.0, pitchOffset(voice, 0) / 12);
    for (long i = 0; i < length; ++i) {
        const double t = double(i) / sampleRate;
        if (moving) bend = std::pow(2.0, pitchOffset(voice, t) / 12);
        const double index = voice.fmDecay > 0 ? voice.fmIndex * std::exp(-t / voice.fmDecay) : voice.fmIndex;
        double sample = 0, rightSample = 0;
        for (std::size_t o = 0; o < oscillators.size(); ++o) {
            const double increment = bases[o] * ratios[o] * bend / sampleRate;
            double modulation = 0;
            if (voice.fmRatio > 0 && index != 0) {
                modulation = index * std::sin(2 * pi * oscillators[o].modPhase);
                oscillators[o].modPhase = wrapPhase(oscillators[o].modPhase + increment * voice.fmRatio);
            }
            const double value = oscillate(voice, oscillators[o], std::min(increment, 0.5), modulation, random);
            if (right) {
                sample += value * leftGains[o];
                rightSample += value * rightGains[o];
            } else {
                sample += value;
            }
        }
        sample *= mixGain;
        for (SvFilter& filter : filters) sample = filter.process(sample, t);
        if (right) {
            rightSample *= mixGain;
            for (SvFilter& filter : rightFilters) rightSample = filter.process(rightSample, t);
        }
        long at = start + i;
        if (wrap) {
            at %= size;
            if (at < 0) at += size;
        } else if (at < 0) {
            continue;
        } else if (at >= size) {
            break;
        }
        const double gain = envelope(voice, t, gate) * voice.volume * note.velocity;
        out[at] += sample * gain;
        if (right) (*right)[at] += rightSample * gain;
    }
}
}  // namespace

void renderNote(const Voice& voice, const Note& note, uint32_t seed, std::vector<double>& out,
                long start, bool wrap) {
    renderInto(voice, note, seed, out, nullptr, start, wrap);
}

void renderNoteStereo(const Voice& voice, const Note& note, uint32_t seed, std::vector<double>& left,
                      std::vector<double>& right, long start, bool wrap) {
    if (right.size() != left.size()) return;
    renderInto(voice, note, seed, left, &right, start, wrap);
}

SettingResult applyVoiceSetting(Voice& v, const std::string& key, const std::vector<std::string>& args,
                                std::string& error) {
    if (key == "wave") {
        if (args.empty() || args.size() > 2) return invalid(error, "wave takes a name and, for square, a duty");
        const std::string& name = args[0];
        if (name == "sine") v.wave = Wave::Sine;
        else if (name == "square") v.wave = Wave::Square;
        else if (name == "triangle") v.wave = Wave::Triangle;
        else if (name == "saw") v.wave = Wave::Saw;
        else if (name == "noise") v.wave = Wave::Noise;
        else if (name == "steppednoise") v.wave = Wave::SteppedNoise;
        else return invalid(error, "unknown wave \"" + name + "\"");
        if (args.size() == 2) {
            if (v.wave != Wave::Square) return invalid(error, "only a square wave takes a duty");
            if (!parseNumber(args[1], v.duty) || v.duty < 0.05 || v.duty > 0.95) {
                return invalid(error, "duty must be a number from 0.05 to 0.95");
            }
        }
        return SettingResult::Applied;
    }
    if (key == "pitch") {
        if (args.size() != 1 || !parsePitch(args[0], v.pitch)) {
            return invalid(error, "pitch takes one note name or frequency in Hz");
        }
        return SettingResult::Applied;
    }
    if (key == "arpeggio") {
        std::vector<double> values;
        if (!numbers(args, values, error)) return SettingResult::Invalid;
        if (values.size() < 2 || values[0] <= 0) {
            return invalid(error, "arpeggio takes a step in seconds and at least one offset");
        }
        v.arpeggioStep = values[0];
        v.arpeggio.assign(values.begin() + 1, values.end());
        return SettingResult::Applied;
    }
    if (key == "lowpass" || key == "highpass" || key == "bandpass") {
        std::vector<double> values;
        if (!numbers(args, values, error)) return SettingResult::Invalid;
        if (values.size() != 1 && values.size() != 2 && values.size() != 4) {
            return invalid(error, key + " takes CUTOFF [Q [END_CUTOFF SECONDS]]");
        }
        Filter f;
        f.kind = key == "lowpass" ? FilterKind::Lowpass : key == "highpass" ? FilterKind::Highpass
                                                                            : FilterKind::Bandpass;
        f.cutoff = values[0];
        if (values.size() >= 2) f.q = values[1];
        if (values.size() == 4) {
            f.endCutoff = values[2];
            f.sweepTime = values[3];
        }
        if (f.cutoff <= 0 || f.q <= 0 || (values.size() == 4 && (f.endCutoff <= 0 || f.sweepTime <= 0))) {
            return invalid(error, key + " needs positive values");
        }
        v.filters.push_back(f);
        return SettingResult::Applied;
    }

    // The rest take a fixed count of plain numbers.
    struct Numeric {
        const char* key;
        std::size_t least;
        std::size_t most;
        const char* usage;
    };
    static const Numeric numeric[] = {
        {"sweep", 3, 3, "sweep FROM_SEMITONES TO_SEMITONES SECONDS"},
        {"vibrato", 2, 3, "vibrato RATE_HZ DEPTH_SEMITONES [DELAY_SECONDS]"},
        {"fm", 2, 3, "fm RATIO INDEX [DECAY_SECONDS]"},
        {"unison", 2, 2, "unison COPIES CENTS"},
        {"adsr", 4, 4, "adsr ATTACK DECAY SUSTAIN RELEASE"},
        {"gate", 1, 1, "gate SECONDS"},
        {"volume", 1, 1, "volume GAIN"},
        {"echo", 1, 1, "echo SEND"},
        {"room", 1, 1, "room SEND"},
        {"pan", 1, 1, "pan PLACE(-1 left to 1 right)"},
        {"spread", 1, 1, "spread AMOUNT(0 to 1)"},
    };
    const Numeric* found = nullptr;
    for (const Numeric& n : numeric) {
        if (key == n.key) found = &n;
    }
    if (!found) return SettingResult::Unknown;
    std::vector<double> x;
    if (!numbers(args, x, error)) return SettingResult::Invalid;
    if (x.size() < found->least || x.size() > found->most) return invalid(error, std::string("usage: ") + found->usage);
    for (double value : x) {
        if (value < 0 && key != "sweep" && key != "pan") return invalid(error, key + " takes no negative values");
    }
    if (key == "sweep") {
        v.sweepFrom = x[0];
        v.sweepTo = x[1];
        v.sweepTime = x[2];
        if (v.sweepTime <= 0) return invalid(error, "a sweep needs a time above 0");
    } else if (key == "vibrato") {
        v.vibratoRate = x[0];
        v.vibratoDepth = x[1];
        v.vibratoDelay = x.size() == 3 ? x[2] : 0;
    } else if (key == "fm") {
        v.fmRatio = x[0];
        v.fmIndex = x[1];
        v.fmDecay = x.size() == 3 ? x[2] : 0;
    } else if (key == "unison") {
        if (x[0] < 1 || x[0] > maximumUnison || x[0] != std::floor(x[0])) {
            return invalid(error, "unison takes 1 to 8 copies");
        }
        v.unison = int(x[0]);
        v.unisonCents = x[1];
    } else if (key == "adsr") {
        if (x[2] > 1) return invalid(error, "sustain is a level from 0 to 1");
        v.attack = x[0];
        v.decay = x[1];
        v.sustain = x[2];
        v.release = x[3];
    } else if (key == "gate") {
        v.fixedGate = x[0];
    } else if (key == "volume") {
        v.volume = x[0];
    } else if (key == "echo") {
        v.echoSend = x[0];
    } else if (key == "room") {
        v.roomSend = x[0];
    } else if (key == "pan") {
        if (x[0] < -1 || x[0] > 1) return invalid(error, "pan takes a place from -1 (left) to 1 (right)");
        v.pan = x[0];
    } else if (key == "spread") {
        if (x[0] > 1) return invalid(error, "spread takes an amount from 0 to 1");
        v.spread = x[0];
    }
    return SettingResult::Applied;
}

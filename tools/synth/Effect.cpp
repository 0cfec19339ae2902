#include "tools/synth/Effect.h"

#include "tools/synth/Pcm.h"
#include "tools/synth/Random.h"
#include "tools/synth/SourceText.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr double fadeInSeconds = 0.002;
constexpr double fadeOutSeconds = 0.005;
constexpr double tailSeconds = 0.01;      // quiet room after the last release
constexpr double defaultGate = 0.1;       // seconds a lone note is held
constexpr uint32_t effectSeedBase = 0x5eed;

// One note of the render with its start in seconds.
struct Placed {
    double start;
    Note note;
};

std::vector<Placed> placeNotes(const EffectVoice& ev) {
    std::vector<Placed> placed;
    if (ev.notes.empty()) {
        Note note;
        note.frequencies = {ev.voice.pitch};
        note.gate = ev.voice.fixedGate > 0 ? ev.voice.fixedGate : defaultGate;
        placed.push_back({ev.start, note});
        return placed;
    }
    std::vector<Cell> cells(ev.notes.size());
    for (std::size_t i = 0; i < cells.size(); ++i) parseCell(ev.notes[i], cells[i]);
    // A note lasts until the next note or release in its row, or the row's end.
    for (std::size_t i = 0; i < cells.size(); ++i) {
        if (cells[i].kind != Cell::Play) continue;
        std::size_t end = i + 1;
        while (end < cells.size() && cells[end].kind == Cell::Hold) ++end;
        Note note;
        note.velocity = cells[i].velocity;
        note.gate = (end - i) * ev.step;
        if (cells[i].keys.empty()) note.frequencies = {ev.voice.pitch};
        for (int key : cells[i].keys) note.frequencies.push_back(keyFrequency(key));
        placed.push_back({ev.start + i * ev.step, note});
    }
    return placed;
}
}  // namespace

bool readEffect(const std::string& path, Effect& effect, std::string& error) {
    std::vector<SourceLine> lines;
    if (!readSource(path, lines)) {
        error = path + ": cannot be read";
        return false;
    }
    effect = Effect();
    for (const SourceLine& line : lines) {
        const std::string& key = line.words[0];
        const std::vector<std::string> args(line.words.begin() + 1, line.words.end());
        auto fail = [&](const std::string& message) {
            error = sourceError(path, line.number, message);
            return false;
        };
        if (key == "voice") {
            if (!args.empty()) return fail("voice takes no arguments; its settings follow on their own lines");
            effect.voices.emplace_back();
            continue;
        }
        if (key == "peak") {
            if (args.size() != 1 || !parseNumber(args[0], effect.peakDb) || effect.peakDb > 0) {
                return fail("peak takes one level in dBFS, 0 or below");
            }
            continue;
        }
        if (effect.voices.empty()) return fail("\"" + key + "\" before the first voice");
        EffectVoice& ev = effect.voices.back();
        if (key == "start") {
            if (args.size() != 1 || !parseNumber(args[0], ev.start) || ev.start < 0) {
                return fail("start takes seconds, 0 or more");
            }
            continue;
        }
        if (key == "notes") {
            if (args.size() < 2 || !parseNumber(args[0], ev.step) || ev.step <= 0) {
                return fail("notes takes seconds per step and then the cells");
            }
            ev.notes.assign(args.begin() + 1, args.end());
            Cell cell;
            for (const std::string& word : ev.notes) {
                if (!parseCell(word, cell)) return fail("\"" + word + "\" is not a note, chord, hit, \".\" or \"-\"");
            }
            continue;
        }
        if (key == "echo" || key == "room") return fail(key + " belongs to songs; an effect has none");
        if (key == "pan" || key == "spread") return fail(key + " belongs to songs; effects are mono");
        std::string why;
        switch (applyVoiceSetting(ev.voice, key, args, why)) {
        case SettingResult::Applied: break;
        case SettingResult::Unknown: return fail("unknown setting \"" + key + "\"");
        case SettingResult::Invalid: return fail(why);
        }
    }
    if (effect.voices.empty()) {
        error = path + ": no voice";
        return false;
    }
    return true;
}

std::vector<int16_t> renderEffect(const Effect& effect) {
    std::vector<std::vector<Placed>> placed;
    double seconds = 0;
    for (const EffectVoice& ev : effect.voices) {
        placed.push_back(placeNotes(ev));
        for (const Placed& p : placed.back()) seconds = std::max(seconds, p.start + noteSeconds(ev.voice, p.note));
    }
    std::vector<double> mix(std::lround((seconds + tailSeconds) * sampleRate), 0.0);
    for (std::size_t v = 0; v < placed.size(); ++v) {
        for (std::size_t n = 0; n < placed[v].size(); ++n) {
            const Placed& p = placed[v][n];
            const uint32_t seed = mixSeed(effectSeedBase + uint32_t(v), uint32_t(n));
            renderNote(effect.voices[v].voice, p.note, seed, mix, std::lround(p.start * sampleRate), false);
        }
    }
    const long fadeIn = std::lround(fadeInSeconds * sampleRate);
    const long fadeOut = std::lround(fadeOutSeconds * sampleRate);
    const long size = static_cast<long>(mix.size());
    for (long i = 0; i < size; ++i) {
        double gain = 1;
        if (i < fadeIn) gain = double(i) / fadeIn;
        if (size - 1 - i < fadeOut) gain = std::min(gain, double(size - 1 - i) / fadeOut);
        mix[i] *= gain;
    }
    return toPcm(mix, effect.peakDb);
}

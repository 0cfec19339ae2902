#include "tools/synth/Song.h"

#include "tools/synth/Pcm.h"
#include "tools/synth/Random.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <set>
#include <utility>

namespace {
constexpr double pi = 3.14159265358979323846;
constexpr int echoPasses = 3;                // runs of the echo round the loop to settle it
constexpr double zeroSearchSeconds = 0.02;   // how far the loop start may move to find a crossing
constexpr uint32_t songSeedBase = 0x50e6;

const char* const reservedWords[] = {"instrument", "pattern", "song"};

bool reserved(const std::string& word) {
    for (const char* r : reservedWords) {
        if (word == r) return true;
    }
    return false;
}

int findInstrument(const Song& song, const std::string& name) {
    for (std::size_t i = 0; i < song.instruments.size(); ++i) {
        if (song.instruments[i].name == name) return int(i);
    }
    return -1;
}

int findPattern(const Song& song, const std::string& name) {
    for (std::size_t i = 0; i < song.patterns.size(); ++i) {
        if (song.patterns[i].name == name) return int(i);
    }
    return -1;
}

// A whole word as a whole number.
bool parseCount(const std::string& word, int& value) {
    double number = 0;
    if (!parseNumber(word, number) || number != std::floor(number) || std::fabs(number) > 1000) return false;
    value = int(number);
    return true;
}

// One item of a song line, "verse", "verse+5*2", "verse&drums", before the
// pattern names are known.
struct SongItem {
    std::string text;
    int line = 0;
};

bool resolveItem(const Song& song, const std::string& text, std::vector<SongStep>& steps, std::string& why) {
    std::string body = text;
    int repeats = 1;
    const std::size_t star = body.find('*');
    if (star != std::string::npos) {
        if (!parseCount(body.substr(star + 1), repeats) || repeats < 1) {
            why = "\"" + text + "\": the count after * must be 1 or more";
            return false;
        }
        body.erase(star);
    }
    SongStep step;
    std::size_t from = 0;
    while (from <= body.size()) {
        std::size_t amp = body.find('&', from);
        if (amp == std::string::npos) amp = body.size();
        std::string part = body.substr(from, amp - from);
        Layer layer;
        const std::size_t sign = part.find_first_of("+-");
        if (sign != std::string::npos) {
            const std::string amount = part.substr(sign);
            if (!parseCount(amount[0] == '+' ? amount.substr(1) : amount, layer.transpose)) {
                why = "\"" + text + "\": transposition must be whole semitones";
                return false;
            }
            part.erase(sign);
        }
        layer.pattern = findPattern(song, part);
        if (layer.pattern < 0) {
            why = "no pattern named \"" + part + "\"";
            return false;
        }
        const int rows = song.patterns[layer.pattern].rows;
        if (!step.layers.empty() && rows != step.rows) {
            why = "\"" + text + "\": patterns played together must have the same number of rows";
            return false;
        }
        step.rows = rows;
        step.layers.push_back(layer);
        from = amp + 1;
    }
    for (int i = 0; i < repeats; ++i) steps.push_back(step);
    return true;
}

// A note of the song in rows; end may run past the song's end (it wraps).
struct SongNote {
    int instrument = 0;
    long startRow = 0;
    long endRow = 0;
    std::vector<double> frequencies;
    double velocity = 1;
};

// A line of a step: which instrument, which of that instrument's lines in
// the step (so a note can carry on into the next pattern), its cells.
struct StepLine {
    std::pair<int, int> key;
    const std::vector<Cell>* cells;
    int transpose;
};

std::vector<StepLine> stepLines(const Song& song, const SongStep& step) {
    std::vector<StepLine> lines;
    std::map<int, int> seen;
    for (const Layer& layer : step.layers) {
        for (const PatternLine& line : song.patterns[layer.pattern].lines) {
            const int occurrence = seen[line.instrument]++;
            lines.push_back({{line.instrument, occurrence}, &line.cells, layer.transpose});
        }
    }
    return lines;
}

std::vector<SongNote> collectNotes(const Song& song) {
    std::vector<SongNote> notes;
    std::map<std::pair<int, int>, SongNote> open;
    auto close = [&](const std::pair<int, int>& key, long row) {
        auto it = open.find(key);
        if (it == open.end()) return;
        it->second.endRow = row;
        notes.push_back(it->second);
        open.erase(it);
    };
    long row0 = 0;
    for (const SongStep& step : song.steps) {
        const std::vector<StepLine> lines = stepLines(song, step);
        std::set<std::pair<int, int>> here;
        for (const StepLine& line : lines) here.insert(line.key);
        for (auto it = open.begin(); it != open.end();) {
            const auto key = (it++)->first;
            if (!here.count(key)) close(key, row0);
        }
        for (int r = 0; r < step.rows; ++r) {
            for (const StepLine& line : lines) {
                const Cell& cell = (*line.cells)[r];
                if (cell.kind == Cell::Hold) continue;
                close(line.key, row0 + r);
                if (cell.kind == Cell::Off) continue;
                SongNote note;
                note.instrument = line.key.first;
                note.startRow = row0 + r;
                note.velocity = cell.velocity;
                if (cell.keys.empty()) note.frequencies = {song.instruments[note.instrument].voice.pitch};
                for (int key : cell.keys) note.frequencies.push_back(keyFrequency(key + line.transpose));
                open[line.key] = note;
            }
        }
        row0 += step.rows;
    }
    // Notes still sounding at the end carry on into the next pass as far as
    // the first step lets them.
    const std::vector<StepLine> first = stepLines(song, song.steps.front());
    while (!open.empty()) {
        const auto key = open.begin()->first;
        long end = row0;
        for (const StepLine& line : first) {
            if (line.key != key) continue;
            int r = 0;
            while (r < song.steps.front().rows && (*line.cells)[r].kind == Cell::Hold) ++r;
            end = row0 + r;
        }
        close(key, end);
    }
    return notes;
}

double rowSeconds(const Song& song) { return 60.0 / song.tempo / song.rowsPerBeat; }

// Start of a row in seconds, the odd rows pushed late by the swing.
double rowTime(const Song& song, long row) {
    return (row + (row % 2 ? song.swing : 0.0)) * rowSeconds(song);
}

void addWrapped(const std::vector<double>& note, std::vector<double>& out, long start, double gain) {
    const long size = static_cast<long>(out.size());
    for (std::size_t i = 0; i < note.size(); ++i) out[(start + long(i)) % size] += note[i] * gain;
}

// Runs the echo round the loop until its tail has settled, so the echoes of
// the end are heard again at the beginning.
std::vector<double> echoOf(const Song& song, const std::vector<double>& send) {
    const long size = static_cast<long>(send.size());
    const long delay = std::lround(song.echoDelay * sampleRate);
    std::vector<double> wet(send.size(), 0.0);
    if (delay <= 0 || delay >= size) return wet;
    std::vector<double> line(send.size(), 0.0);
    const double damping = 1 - std::exp(-2 * pi * song.echoDamp / sampleRate);
    double smoothed = 0;
    for (int pass = 0; pass < echoPasses; ++pass) {
        for (long n = 0; n < size; ++n) {
            smoothed += damping * (line[(n - delay + size) % size] - smoothed);
            line[n] = send[n] + song.echoFeedback * smoothed;
            wet[n] = smoothed;
        }
    }
    return wet;
}

// The start within a few milliseconds either side of the downbeat where the
// signal crosses zero most quietly; the loop is turned to begin there.
long quietCrossing(const std::vector<double>& mix) {
    const long size = static_cast<long>(mix.size());
    const long span = std::min(size / 2, std::lround(zeroSearchSeconds * sampleRate));
    long best = 0;
    double bestLevel = 1e300;
    for (long offset = -span; offset < span; ++offset) {
        const long s = (offset + size) % size;
        const double before = mix[(s - 1 + size) % size];
        const double at = mix[s];
        const bool crossing = (before <= 0 && at >= 0) || (before >= 0 && at <= 0);
        const double level = std::max(std::fabs(before), std::fabs(at)) + (crossing ? 0 : 1e6);
        if (level < bestLevel) {
            bestLevel = level;
            best = s;
        }
    }
    return best;
}
}  // namespace

bool readSong(const std::string& path, Song& song, std::string& error) {
    std::vector<SourceLine> lines;
    if (!readSource(path, lines)) {
        error = path + ": cannot be read";
        return false;
    }
    song = Song();
    enum class Context { Top, InInstrument, InPattern } context = Context::Top;
    std::vector<SongItem> items;
    for (const SourceLine& line : lines) {
        const std::string& key = line.words[0];
        const std::vector<std::string> args(line.words.begin() + 1, line.words.end());
        auto fail = [&](const std::string& message) {
            error = sourceError(path, line.number, message);
            return false;
        };
        if (key == "instrument" || key == "pattern") {
            if (args.size() != 1) return fail(key + " takes one name");
            const std::string& name = args[0];
            if (reserved(name)) return fail("\"" + name + "\" cannot be a name");
            if (key == "instrument") {
                if (findInstrument(song, name) >= 0) return fail("instrument \"" + name + "\" is already defined");
                song.instruments.push_back({name, Voice()});
                context = Context::InInstrument;
            } else {
                if (name.find_first_of("*+-&") != std::string::npos) {
                    return fail("a pattern name cannot hold * + - or &");
                }
                if (findPattern(song, name) >= 0) return fail("pattern \"" + name + "\" is already defined");
                song.patterns.push_back({name, 0, {}});
                context = Context::InPattern;
            }
            continue;
        }
        if (key == "song") {
            if (args.empty()) return fail("song takes the patterns to play");
            for (const std::string& item : args) items.push_back({item, line.number});
            context = Context::Top;
            continue;
        }
        if (context == Context::InInstrument) {
            std::string why;
            switch (applyVoiceSetting(song.instruments.back().voice, key, args, why)) {
            case SettingResult::Applied: continue;
            case SettingResult::Unknown: return fail("unknown setting \"" + key + "\"");
            case SettingResult::Invalid: return fail(why);
            }
        }
        if (context == Context::InPattern) {
            Pattern& pattern = song.patterns.back();
            PatternLine pl;
            pl.instrument = findInstrument(song, key);
            if (pl.instrument < 0) return fail("no instrument named \"" + key + "\"");
            for (const std::string& word : args) {
                if (word == "|") continue;
                Cell cell;
                if (!parseCell(word, cell)) return fail("\"" + word + "\" is not a note, chord, hit, \".\" or \"-\"");
                pl.cells.push_back(cell);
            }
            if (pl.cells.empty()) return fail("a pattern line needs at least one row");
            if (pattern.lines.empty()) pattern.rows = int(pl.cells.size());
            if (int(pl.cells.size()) != pattern.rows) {
                return fail("this line has " + std::to_string(pl.cells.size()) + " rows; the pattern's first line has " +
                            std::to_string(pattern.rows));
            }
            pattern.lines.push_back(pl);
            continue;
        }
        // Song-wide settings.
        std::vector<double> x;
        for (const std::string& word : args) {
            double value = 0;
            if (!parseNumber(word, value)) return fail("\"" + word + "\" is not a number");
            x.push_back(value);
        }
        if (key == "tempo") {
            if (x.size() != 1 || x[0] < 20 || x[0] > 400) return fail("tempo takes beats per minute, 20 to 400");
            song.tempo = x[0];
        } else if (key == "rows") {
            if (x.size() != 1 || x[0] < 1 || x[0] > 16 || x[0] != std::floor(x[0])) {
                return fail("rows takes rows per beat, 1 to 16");
            }
            song.rowsPerBeat = int(x[0]);
        } else if (key == "swing") {
            if (x.size() != 1 || x[0] < 0 || x[0] >= 1) return fail("swing takes a share of a row, 0 to below 1");
            song.swing = x[0];
        } else if (key == "peak") {
            if (x.size() != 1 || x[0] > 0) return fail("peak takes one level in dBFS, 0 or below");
            song.peakDb = x[0];
        } else if (key == "echo") {
            if (x.size() < 2 || x.size() > 3 || x[0] <= 0 || x[1] < 0 || x[1] >= 1) {
                return fail("echo takes DELAY_SECONDS FEEDBACK(0 to below 1) [DAMP_HZ]");
            }
            song.echoDelay = x[0];
            song.echoFeedback = x[1];
            if (x.size() == 3) song.echoDamp = x[2];
        } else {
            return fail("unknown setting \"" + key + "\"");
        }
    }
    for (const Pattern& pattern : song.patterns) {
        if (pattern.lines.empty()) {
            error = path + ": pattern \"" + pattern.name + "\" has no lines";
            return false;
        }
    }
    for (const SongItem& item : items) {
        std::string why;
        if (!resolveItem(song, item.text, song.steps, why)) {
            error = sourceError(path, item.line, why);
            return false;
        }
    }
    if (song.steps.empty()) {
        error = path + ": no song line says what to play";
        return false;
    }
    return true;
}

long songRows(const Song& song) {
    long rows = 0;
    for (const SongStep& step : song.steps) rows += step.rows;
    return rows;
}

std::vector<int16_t> renderSong(const Song& song) {
    const long rows = songRows(song);
    const long size = std::lround(rows * rowSeconds(song) * sampleRate);
    std::vector<double> mix(size, 0.0);
    std::vector<double> send(size, 0.0);
    const std::vector<SongNote> notes = collectNotes(song);
    for (std::size_t n = 0; n < notes.size(); ++n) {
        const SongNote& sn = notes[n];
        const Voice& voice = song.instruments[sn.instrument].voice;
        const double start = rowTime(song, sn.startRow);
        Note note;
        note.frequencies = sn.frequencies;
        note.velocity = sn.velocity;
        note.gate = rowTime(song, sn.endRow) - start;
        std::vector<double> sound(std::lround(noteSeconds(voice, note) * sampleRate), 0.0);
        renderNote(voice, note, mixSeed(songSeedBase + uint32_t(sn.instrument), uint32_t(n)), sound, 0, false);
        const long at = std::lround(start * sampleRate);
        addWrapped(sound, mix, at, 1.0);
        if (voice.echoSend > 0) addWrapped(sound, send, at, voice.echoSend);
    }
    const std::vector<double> wet = echoOf(song, send);
    for (long i = 0; i < size; ++i) mix[i] += wet[i];
    std::rotate(mix.begin(), mix.begin() + quietCrossing(mix), mix.end());
    return toPcm(mix, song.peakDb);
}

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

// The room reverb: comb and all-pass delays in samples at 22050 Hz, uneven
// so their echoes seldom line up into a flutter.
constexpr long roomCombLengths[] = {558, 594, 638, 678, 711, 745, 778, 808};
constexpr long roomAllpassLengths[] = {278, 220, 170, 112};
constexpr long roomSideOffset = 12;         // samples the right side's lines are longer
constexpr double roomFeedbackBase = 0.7;    // comb feedback of the smallest room
constexpr double roomFeedbackRange = 0.28;  // added for the largest
constexpr double roomDampRange = 0.4;       // comb lowpass share at full damping
constexpr double roomInputGain = 0.015;     // eight combs ring up loud: feed them gently

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

// One buffer per side.
struct Stereo {
    explicit Stereo(long size) : left(size, 0.0), right(size, 0.0) {}
    std::vector<double> left, right;
};

void addWrapped(const std::vector<double>& note, std::vector<double>& out, long start, double gain) {
    const long size = static_cast<long>(out.size());
    for (std::size_t i = 0; i < note.size(); ++i) out[(start + long(i)) % size] += note[i] * gain;
}

// Runs the echo round the loop until its tail has settled, so the echoes of
// the end are heard again at the beginning. Each side echoes what was sent
// to it; with cross above 0 the repeats bounce over to the other side, so a
// voice off to one side is answered from the other.
Stereo echoOf(const Song& song, const Stereo& send) {
    const long size = static_cast<long>(send.left.size());
    const long delay = std::lround(song.echoDelay * sampleRate);
    Stereo wet(size);
    if (delay <= 0 || delay >= size) return wet;
    Stereo line(size);
    const double damping = 1 - std::exp(-2 * pi * song.echoDamp / sampleRate);
    const double cross = song.echoCross, straight = 1 - cross;
    double left = 0, right = 0;
    for (int pass = 0; pass < echoPasses; ++pass) {
        for (long n = 0; n < size; ++n) {
            const long from = (n - delay + size) % size;
            left += damping * (line.left[from] - left);
            right += damping * (line.right[from] - right);
            line.left[n] = send.left[n] + song.echoFeedback * (straight * left + cross * right);
            line.right[n] = send.right[n] + song.echoFeedback * (straight * right + cross * left);
            wet.left[n] = left;
            wet.right[n] = right;
        }
    }
    return wet;
}

// A comb and an all-pass filter of the room: a short delay line each.
class Comb {
public:
    Comb(long length, double feedback, double damp) : line(length, 0.0), feedback(feedback), damp(damp) {}
    double process(double in) {
        const double out = line[at];
        stored = out * (1 - damp) + stored * damp;
        line[at] = in + stored * feedback;
        at = (at + 1) % line.size();
        return out;
    }

private:
    std::vector<double> line;
    std::size_t at = 0;
    double stored = 0;
    double feedback, damp;
};

class Allpass {
public:
    explicit Allpass(long length) : line(length, 0.0) {}
    double process(double in) {
        const double delayed = line[at];
        line[at] = in + delayed * 0.5;
        at = (at + 1) % line.size();
        return delayed - in;
    }

private:
    std::vector<double> line;
    std::size_t at = 0;
};

// A reverb of parallel combs into all-passes; the right side's lines are a
// little longer than the left's, so the two tails differ and the room sounds
// wide. It runs over the loop twice and keeps the second pass, so the tail
// of the end rings on under the beginning.
Stereo roomOf(const Song& song, const std::vector<double>& send) {
    const long size = static_cast<long>(send.size());
    Stereo wet(size);
    if (song.roomSize <= 0) return wet;
    const double feedback = roomFeedbackBase + roomFeedbackRange * song.roomSize;
    const double damp = roomDampRange * song.roomDamp;
    for (int side = 0; side < 2; ++side) {
        std::vector<Comb> combs;
        std::vector<Allpass> allpasses;
        for (long length : roomCombLengths) combs.emplace_back(length + side * roomSideOffset, feedback, damp);
        for (long length : roomAllpassLengths) allpasses.emplace_back(length + side * roomSideOffset);
        std::vector<double>& out = side == 0 ? wet.left : wet.right;
        for (long n = 0; n < 2 * size; ++n) {
            const double in = send[n % size] * roomInputGain;
            double sum = 0;
            for (Comb& comb : combs) sum += comb.process(in);
            for (Allpass& allpass : allpasses) sum = allpass.process(sum);
            if (n >= size) out[n - size] = sum;
        }
    }
    return wet;
}

// The start within a few milliseconds either side of the downbeat where both
// sides are nearest silence; the loop is turned to begin there.
long quietStart(const Stereo& mix) {
    const long size = static_cast<long>(mix.left.size());
    const long span = std::min(size / 2, std::lround(zeroSearchSeconds * sampleRate));
    long best = 0;
    double bestLevel = 1e300;
    for (long offset = -span; offset < span; ++offset) {
        const long s = (offset + size) % size, before = (s - 1 + size) % size;
        const double level = std::max({std::fabs(mix.left[before]), std::fabs(mix.left[s]),
                                       std::fabs(mix.right[before]), std::fabs(mix.right[s])});
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
            if (x.size() < 2 || x.size() > 4 || x[0] <= 0 || x[1] < 0 || x[1] >= 1 ||
                (x.size() == 4 && (x[3] < 0 || x[3] > 1))) {
                return fail("echo takes DELAY_SECONDS FEEDBACK(0 to below 1) [DAMP_HZ [CROSS(0 to 1)]]");
            }
            song.echoDelay = x[0];
            song.echoFeedback = x[1];
            if (x.size() >= 3) song.echoDamp = x[2];
            if (x.size() == 4) song.echoCross = x[3];
        } else if (key == "room") {
            if (x.size() < 1 || x.size() > 2 || x[0] <= 0 || x[0] > 1 || (x.size() == 2 && (x[1] < 0 || x[1] > 1))) {
                return fail("room takes SIZE(above 0 to 1) [DAMPING(0 to 1)]");
            }
            song.roomSize = x[0];
            if (x.size() == 2) song.roomDamp = x[1];
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
    Stereo mix(size), echoSend(size);
    std::vector<double> roomSend(size, 0.0);
    const std::vector<SongNote> notes = collectNotes(song);
    for (std::size_t n = 0; n < notes.size(); ++n) {
        const SongNote& sn = notes[n];
        const Voice& voice = song.instruments[sn.instrument].voice;
        const double start = rowTime(song, sn.startRow);
        Note note;
        note.frequencies = sn.frequencies;
        note.velocity = sn.velocity;
        note.gate = rowTime(song, sn.endRow) - start;
        Stereo sound(std::lround(noteSeconds(voice, note) * sampleRate));
        renderNoteStereo(voice, note, mixSeed(songSeedBase + uint32_t(sn.instrument), uint32_t(n)), sound.left,
                         sound.right, 0, false);
        const long at = std::lround(start * sampleRate);
        addWrapped(sound.left, mix.left, at, 1.0);
        addWrapped(sound.right, mix.right, at, 1.0);
        if (voice.echoSend > 0) {
            addWrapped(sound.left, echoSend.left, at, voice.echoSend);
            addWrapped(sound.right, echoSend.right, at, voice.echoSend);
        }
        if (voice.roomSend > 0) {
            addWrapped(sound.left, roomSend, at, voice.roomSend);
            addWrapped(sound.right, roomSend, at, voice.roomSend);
        }
    }
    const Stereo echo = echoOf(song, echoSend);
    const Stereo room = roomOf(song, roomSend);
    for (long i = 0; i < size; ++i) {
        mix.left[i] += echo.left[i] + room.left[i];
        mix.right[i] += echo.right[i] + room.right[i];
    }
    const long turn = quietStart(mix);
    std::rotate(mix.left.begin(), mix.left.begin() + turn, mix.left.end());
    std::rotate(mix.right.begin(), mix.right.begin() + turn, mix.right.end());
    std::vector<double> interleaved;
    interleaved.reserve(2 * size);
    for (long i = 0; i < size; ++i) interleaved.insert(interleaved.end(), {mix.left[i], mix.right[i]});
    return toPcm(interleaved, song.peakDb);
}

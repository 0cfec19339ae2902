#include "tools/synth/SourceText.h"

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace {
constexpr int keyOfA4 = 69;         // MIDI key number of the tuning note
constexpr double hertzOfA4 = 440;   // Hz
constexpr double loudHit = 1.0;     // velocity of "X"
constexpr double normalHit = 0.7;   // velocity of "x"
constexpr double softHit = 0.4;     // velocity of "o"

// Semitones of the natural notes above C.
int letterOffset(char letter) {
    switch (letter) {
    case 'C': return 0;
    case 'D': return 2;
    case 'E': return 4;
    case 'F': return 5;
    case 'G': return 7;
    case 'A': return 9;
    case 'B': return 11;
    default: return -1;
    }
}
}  // namespace

bool readSource(const std::string& path, std::vector<SourceLine>& lines) {
    std::ifstream in(path);
    if (!in) return false;
    lines.clear();
    std::string text;
    int number = 0;
    while (std::getline(in, text)) {
        ++number;
        // A comment starts at a "#" that begins a word; inside a word it is a sharp.
        for (std::size_t at = 0; at < text.size(); ++at) {
            if (text[at] == '#' && (at == 0 || std::isspace(static_cast<unsigned char>(text[at - 1])))) {
                text.erase(at);
                break;
            }
        }
        std::istringstream words(text);
        SourceLine line;
        line.number = number;
        for (std::string word; words >> word;) line.words.push_back(word);
        if (!line.words.empty()) lines.push_back(line);
    }
    return true;
}

bool parseNumber(const std::string& word, double& value) {
    if (word.empty()) return false;
    char* end = nullptr;
    value = std::strtod(word.c_str(), &end);
    return end == word.c_str() + word.size() && std::isfinite(value);
}

bool parseNoteName(const std::string& word, int& key) {
    if (word.size() < 2 || word.size() > 3) return false;
    const int natural = letterOffset(word[0]);
    if (natural < 0) return false;
    std::size_t at = 1;
    int accidental = 0;
    if (word[at] == '#') {
        accidental = 1;
        ++at;
    } else if (word[at] == 'b') {
        accidental = -1;
        ++at;
    }
    if (at + 1 != word.size() || word[at] < '0' || word[at] > '9') return false;
    const int octave = word[at] - '0';
    key = (octave + 1) * 12 + natural + accidental;
    return true;
}

double keyFrequency(double key) { return hertzOfA4 * std::pow(2.0, (key - keyOfA4) / 12.0); }

bool parsePitch(const std::string& word, double& hertz) {
    int key = 0;
    if (parseNoteName(word, key)) {
        hertz = keyFrequency(key);
        return true;
    }
    return parseNumber(word, hertz) && hertz > 0;
}

bool parseCell(const std::string& word, Cell& cell) {
    cell = Cell();
    if (word == ".") return true;
    if (word == "-") {
        cell.kind = Cell::Off;
        return true;
    }
    cell.kind = Cell::Play;
    if (word == "X" || word == "x" || word == "o") {
        cell.velocity = word == "X" ? loudHit : word == "x" ? normalHit : softHit;
        return true;
    }
    std::size_t from = 0;
    while (from <= word.size()) {
        std::size_t plus = word.find('+', from);
        if (plus == std::string::npos) plus = word.size();
        int key = 0;
        if (!parseNoteName(word.substr(from, plus - from), key)) return false;
        cell.keys.push_back(key);
        from = plus + 1;
    }
    return true;
}

std::string sourceError(const std::string& path, int line, const std::string& message) {
    return path + ":" + std::to_string(line) + ": " + message;
}

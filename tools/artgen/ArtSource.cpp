#include "tools/artgen/ArtSource.h"

#include <fstream>
#include <set>
#include <sstream>

namespace {

std::string gridPath(const std::string& root, const std::string& name, int size) {
    return root + "/" + std::to_string(size) + "/" + name + ".txt";
}

// Characters a grid cannot use for a colour: '.' is transparent, '#' starts a comment.
bool reservedCharacter(char c) { return c == '.' || c == '#' || c == ' ' || c == '\t'; }

}  // namespace

bool ArtSource::readPalette(std::string& error) {
    const std::string path = root + "/palette.txt";
    std::ifstream in(path);
    if (!in) {
        error = path + ": cannot open";
        return false;
    }
    // A look starts from the main palette and may recolour its characters.
    if (base) {
        colours = base->colours;
        byName = base->byName;
    }
    std::set<char> ownKeys;
    std::set<std::string> ownNames;
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream fields(line);
        std::string key, hex, name;
        fields >> key >> hex >> name;
        const std::string where = path + ":" + std::to_string(number) + ": ";
        if (key.size() != 1 || reservedCharacter(key[0])) {
            error = where + "the key must be one character other than . and #";
            return false;
        }
        if (hex.size() != 6 || hex.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos) {
            error = where + "colour must be six hex digits";
            return false;
        }
        if (name.empty()) {
            error = where + "colour has no name";
            return false;
        }
        if (ownKeys.count(key[0]) || ownNames.count(name)) {
            error = where + "colour defined twice";
            return false;
        }
        const Colour c = static_cast<Colour>(std::stoul(hex, nullptr, 16));
        if (c == keyCyan) {
            error = where + "pure cyan is the transparent colour";
            return false;
        }
        if (redOf(c) < 64 && greenOf(c) > 192 && blueOf(c) > 192) {
            error = where + "too close to cyan, the transparent colour";
            return false;
        }
        colours[key[0]] = c;
        byName[name] = c;
        ownKeys.insert(key[0]);
        ownNames.insert(name);
    }
    return true;
}

std::string ArtSource::gridFile(const std::string& name, int size) const {
    const std::string own = gridPath(root, name, size);
    if (!base || std::ifstream(own)) return own;
    return base->gridFile(name, size);
}

bool ArtSource::hasGrid(const std::string& name, int size) const {
    std::ifstream in(gridFile(name, size));
    return static_cast<bool>(in);
}

bool ArtSource::colourNamed(const std::string& name, Colour& out) const {
    const auto found = byName.find(name);
    if (found == byName.end()) return false;
    out = found->second;
    return true;
}

bool ArtSource::colourOf(char key, Colour& out) const {
    const auto found = colours.find(key);
    if (found == colours.end()) return false;
    out = found->second;
    return true;
}

const Picture* ArtSource::grid(const std::string& name, int size, std::string& error) {
    const std::string key = std::to_string(size) + "/" + name;
    const auto cached = cache.find(key);
    if (cached != cache.end()) return &cached->second;
    Picture picture;
    if (!parseGrid(gridFile(name, size), picture, error)) return nullptr;
    return &cache.emplace(key, picture).first->second;
}

bool ArtSource::parseGrid(const std::string& path, Picture& out, std::string& error) const {
    std::ifstream in(path);
    if (!in) {
        error = path + ": cannot open";
        return false;
    }
    std::vector<std::string> rows;
    std::vector<int> lineNumbers;
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.pop_back();
        if (line.empty() || line[0] == '#') continue;
        if (!rows.empty() && line.size() != rows.front().size()) {
            error = path + ":" + std::to_string(number) + ": row is " +
                    std::to_string(line.size()) + " wide, the first row " +
                    std::to_string(rows.front().size());
            return false;
        }
        rows.push_back(line);
        lineNumbers.push_back(number);
    }
    if (rows.empty()) {
        error = path + ": no rows";
        return false;
    }
    out = Picture(static_cast<int>(rows.front().size()), static_cast<int>(rows.size()));
    for (size_t y = 0; y < rows.size(); ++y)
        for (size_t x = 0; x < rows[y].size(); ++x) {
            const char c = rows[y][x];
            if (c == '.') continue;
            const auto found = colours.find(c);
            if (found == colours.end()) {
                error = path + ":" + std::to_string(lineNumbers[y]) + ": unknown colour '" +
                        std::string(1, c) + "'";
                return false;
            }
            out.set(static_cast<int>(x), static_cast<int>(y), found->second);
        }
    return true;
}

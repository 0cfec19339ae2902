#include "tools/common/LevelPack.h"

#include "level/Level.h"

#include <dirent.h>

#include <algorithm>
#include <cctype>
#include <map>

namespace {

constexpr const char* menuFile = "menu.lvl";
constexpr const char* levelSuffix = ".lvl";

bool endsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// The number of a file the game asks for ("level07.lvl" is 7), or 0: the game
// names levels with two digits, so level7.lvl or level007.lvl are never read.
int playedNumber(const std::string& name) {
    const std::string head = "level";
    if (name.size() != head.size() + 2 + std::string(levelSuffix).size()) return 0;
    if (name.compare(0, head.size(), head) != 0 || !endsWith(name, levelSuffix)) return 0;
    const char tens = name[head.size()];
    const char ones = name[head.size() + 1];
    if (!std::isdigit(static_cast<unsigned char>(tens)) ||
        !std::isdigit(static_cast<unsigned char>(ones)))
        return 0;
    return (tens - '0') * 10 + (ones - '0');
}

std::string numberedName(int number) {
    return std::string("level") + static_cast<char>('0' + number / 10) +
           static_cast<char>('0' + number % 10) + levelSuffix;
}

LevelProblem packProblem(LevelProblem::Severity severity, const std::string& message) {
    LevelProblem problem;
    problem.severity = severity;
    problem.message = message;
    return problem;
}

LevelProblem noFirstLevel() {
    return packProblem(LevelProblem::Error, "no level01.lvl: a pack starts there");
}

}  // namespace

LevelPack readLevelPack(const std::vector<std::string>& names) {
    LevelPack pack;
    std::map<int, std::string> numbered;  // sorted, so gaps show in order
    std::vector<std::string> unplayed;
    for (const std::string& name : names) {
        if (!endsWith(name, levelSuffix)) continue;  // replays and notes live beside levels
        const int number = playedNumber(name);
        if (name == menuFile) {
            pack.ownMenu = true;
        } else if (number >= 1 && number <= lastLevelNumber) {
            numbered[number] = name;
        } else {
            unplayed.push_back(name);
        }
    }
    std::sort(unplayed.begin(), unplayed.end());
    for (const std::string& name : unplayed)
        pack.problems.push_back(packProblem(
            LevelProblem::Warning, name + " is never played: the game reads menu.lvl and "
                                          "level01.lvl to level99.lvl, two digits each"));

    if (numbered.empty())
        pack.problems.push_back(noFirstLevel());
    // The game asks for the next number only, so the first gap ends the pack.
    int expected = 1;
    bool playable = true;
    for (const auto& [number, name] : numbered) {
        if (number != expected) {
            if (expected == 1) {
                pack.problems.push_back(noFirstLevel());
            } else {
                const std::string missing =
                    number == expected + 1
                        ? numberedName(expected) + " is missing"
                        : numberedName(expected) + " to " + numberedName(number - 1) + " are missing";
                pack.problems.push_back(packProblem(
                    LevelProblem::Error, missing + ": the game ends the pack before " + name));
            }
            playable = false;
        }
        if (playable) pack.levels.push_back(name);
        expected = number + 1;
    }
    return pack;
}

LevelPack readLevelPackFolder(const std::string& folder) {
    DIR* dir = opendir(folder.c_str());
    if (!dir) {
        LevelPack pack;
        pack.problems.push_back(packProblem(LevelProblem::Error, "cannot read the folder"));
        return pack;
    }
    std::vector<std::string> names;
    while (const dirent* entry = readdir(dir)) names.push_back(entry->d_name);
    closedir(dir);
    return readLevelPack(names);
}

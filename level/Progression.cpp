#include "level/Level.h"

#include "media/Sound.h"
#include "menus/Settings.h"
#include "shell/WholeFile.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iostream>
#include <string>

namespace {

const char* const checkpointPath = "Check.ckp";
constexpr int musicFadeInMs = 1000;  // a new track fades in over one second
constexpr int musicVolume = 60;      // of SDL_mixer's 128
constexpr int musicLoopForever = -1;
constexpr int firstLevelNumber = 1;
// Only the first line matters; a bigger or binary file is not read further.
constexpr std::streamsize checkpointReadBytes = 64;
constexpr size_t maxLevelDigits = 3;  // more digits is out of range whatever they say

// The level file of a level number, as makePath names it.
std::string levelFilePath(int number) {
    std::string digits = std::to_string(number);
    if (digits.size() < 2) digits = "0" + digits;
    return "data/levels/level" + digits + ".lvl";
}

bool isBlank(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }


// One track for each of the levels 1 to 5.
const char* const trackNames[] = {"meadow", "caverns", "factory", "glacier", "fortress"};
constexpr int trackCount = sizeof trackNames / sizeof trackNames[0];

}  // namespace

std::string musicTrackName(int levelNumber) {
    if (levelNumber < 1 || levelNumber > trackCount) return "";
    return trackNames[levelNumber - 1];
}

CheckpointRead readCheckpoint(const std::string& checkpointFile) {
    CheckpointRead read;
    std::ifstream in(checkpointFile, std::ios::binary);
    if (!in) {
        read.problem = "there is no checkpoint " + checkpointFile + " yet";
        return read;
    }
    std::string head(checkpointReadBytes, '\0');
    in.read(&head[0], checkpointReadBytes);
    head.resize(static_cast<size_t>(in.gcount()));

    std::string line = head.substr(0, head.find('\n'));
    while (!line.empty() && isBlank(line.back())) line.pop_back();
    size_t start = 0;
    while (start < line.size() && isBlank(line[start])) ++start;
    line.erase(0, start);
    if (line.empty()) {
        read.problem = "the checkpoint " + checkpointFile + " holds no level";
        return read;
    }

    const bool negative = line[0] == '-';
    const size_t firstDigit = negative || line[0] == '+' ? 1 : 0;
    const std::string digits = line.substr(firstDigit);
    bool allDigits = !digits.empty();
    for (char c : digits) allDigits = allDigits && std::isdigit(static_cast<unsigned char>(c));
    if (!allDigits) {
        read.problem = "the checkpoint " + checkpointFile + " holds no level number";
        return read;
    }
    const std::string range = " out of range " + std::to_string(firstLevelNumber) + " to " +
                              std::to_string(lastLevelNumber);
    const size_t leadingZeros = std::min(digits.find_first_not_of('0'), digits.size() - 1);
    const std::string significant = digits.substr(leadingZeros);
    if (significant.size() > maxLevelDigits) {
        read.problem = "the checkpoint " + checkpointFile + " holds a level number" + range;
        return read;
    }
    const int number = std::stoi(significant);
    if (negative || number < firstLevelNumber || number > lastLevelNumber) {
        read.problem = "checkpoint level " + line + " is" + range;
        return read;
    }
    const std::string levelFile = levelFilePath(number);
    if (!std::ifstream(levelFile)) {
        read.problem = "checkpoint level " + std::to_string(number) + " has no level file " +
                       levelFile;
        return read;
    }
    read.level = number;
    return read;
}

bool Level::continueFromCheckpoint() {
    const CheckpointRead read = readCheckpoint(checkpointPath);
    if (read.problem.empty()) {
        std::cout << "Continue at level " << read.level << std::endl;
        levelNumber = read.level - 1;
    } else {
        std::cout << "Continue: " << read.problem << "; starting at level " << firstLevelNumber
                  << std::endl;
        levelNumber = firstLevelNumber - 1;
    }
    return advanceLevel();
}

bool Level::advanceLevel() {
    ++levelNumber;
    std::cout << "Advance to level " << levelNumber << "!" << std::endl;
    makePath();
    if (!load("")) {
        std::cout << path << " could not be found." << std::endl;
        return false;
    }

    // Written whole, so a full disk keeps the last checkpoint instead of emptying it.
    if (writeWholeFile(checkpointPath, std::to_string(levelNumber) + "\n" + name + "\n")) {
        std::cout << "Checkpoint saved: level " << levelNumber << std::endl;
    } else {
        std::cout << "Could not save progress" << std::endl;
    }

    // From level 6 on the last track stays and is restarted below.
    const std::string track = musicTrackName(levelNumber);
    if (!track.empty()) {
        Mix_Music* next = loadMusic(track);
        if (music && music != next) Mix_FreeMusic(music);
        music = next;
    }
    if (music && musicOn) Mix_FadeInMusic(music, musicLoopForever, musicFadeInMs);
    Mix_VolumeMusic(musicVolume);
    return true;
}

#include "level/Level.h"

#include "media/Sound.h"
#include "menus/Settings.h"
#include "shell/WholeFile.h"

#include <iostream>
#include <string>

namespace {

const char* const checkpointPath = "Check.ckp";
constexpr int musicFadeInMs = 1000;  // a new track fades in over one second
constexpr int musicVolume = 60;      // of SDL_mixer's 128
constexpr int musicLoopForever = -1;

// One track for each of the levels 1 to 5.
const char* const trackNames[] = {"meadow", "caverns", "factory", "glacier", "fortress"};
constexpr int trackCount = sizeof trackNames / sizeof trackNames[0];

}  // namespace

std::string musicTrackName(int levelNumber) {
    if (levelNumber < 1 || levelNumber > trackCount) return "";
    return trackNames[levelNumber - 1];
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

#include "media/Sound.h"

#include <iostream>

namespace {
constexpr int anyFreeChannel = -1;  // Mix_PlayChannelTimed picks the first free channel
constexpr int playOnce = 0;         // loops after the first play
constexpr int noTimeLimit = -1;     // ticks: play to the end

// The named effects playEffect knows, by number, filled on first use.
const char* const effectNames[] = {"pterodactyl"};
constexpr int effectCount = sizeof effectNames / sizeof effectNames[0];
Mix_Chunk* effectSlots[effectCount] = {};
bool deviceOpen = true;  // set by start-up; tools and tests open their own

void reportLoadFailure(const std::string& name) {
    std::cerr << "Error loading " << name << ": " << SDL_GetError();
}
}  // namespace

Mix_Music* currentMusic = nullptr;

void setSoundDeviceOpen(bool open) { deviceOpen = open; }
bool soundDeviceOpen() { return deviceOpen; }

Mix_Chunk* loadSound(const std::string& name) {
    // Start-up said once that there is no sound; every load would only repeat it.
    if (!deviceOpen) return nullptr;
    const std::string path = "./data/sound/" + name + ".wav";
    SDL_RWops* stream = SDL_RWFromFile(path.c_str(), "rb");
    // Without a stream the open error is the useful reason; the loader would overwrite it.
    Mix_Chunk* chunk = stream ? Mix_LoadWAV_RW(stream, 1) : nullptr;
    if (!chunk) reportLoadFailure(name);
    return chunk;
}

Mix_Music* loadMusic(const std::string& name) {
    if (!deviceOpen) return nullptr;
    static const char* const extensions[] = {".mp3", ".flac"};
    for (const char* extension : extensions) {
        const std::string path = "./data/sound/music/" + name + extension;
        if (Mix_Music* track = Mix_LoadMUS(path.c_str())) return track;
        reportLoadFailure(name);
        std::cerr << "\n";
    }
    return nullptr;
}

void playChunk(Mix_Chunk* chunk) {
    if (!chunk) return;
    Mix_PlayChannelTimed(anyFreeChannel, chunk, playOnce, noTimeLimit);
}

void playEffect(int number) {
    if (number < 0 || number >= effectCount) {
        std::cerr << "SFX " << number << " not recognized.\n";
        return;
    }
    // A failed load leaves the slot empty, so the next request tries again.
    if (!effectSlots[number]) effectSlots[number] = loadSound(effectNames[number]);
    playChunk(effectSlots[number]);
}

void releaseEffects() {
    for (Mix_Chunk*& slot : effectSlots) {
        Mix_FreeChunk(slot);
        slot = nullptr;
    }
}

void releaseMusic() {
    if (!currentMusic) return;
    Mix_HaltMusic();
    Mix_FreeMusic(currentMusic);
    currentMusic = nullptr;
}

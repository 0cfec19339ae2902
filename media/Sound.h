#pragma once

#include <SDL_mixer.h>

#include <string>

// Whether the mixer has a device to play on; true until start-up says it has
// none. Without one, loading gives null at once and says nothing.
void setSoundDeviceOpen(bool open);
bool soundDeviceOpen();

// Loads ./data/sound/<name>.wav; the caller owns it. Null on failure.
Mix_Chunk* loadSound(const std::string& name);

// Loads ./data/sound/music/<name>.mp3, else .flac; the caller owns it.
Mix_Music* loadMusic(const std::string& name);

// The track that plays now, for the whole process: every Level's `music`
// refers to this slot, so a track outlives the Level that started it (it
// keeps playing across the menu) and the next change of track frees it.
extern Mix_Music* currentMusic;

// Halts and frees the current track (at shutdown).
void releaseMusic();

// Plays a chunk once on the first free channel; null plays nothing.
void playChunk(Mix_Chunk* chunk);

// Plays a named effect of the effect table (0 is "pterodactyl").
void playEffect(int number);

// Frees the named-effect table (at shutdown).
void releaseEffects();

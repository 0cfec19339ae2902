#pragma once

#include <SDL_mixer.h>

#include <string>

// How the mixer is opened at start-up: CD-quarter rate, signed 16-bit
// little-endian stereo, short chunks so effects start without lag.
constexpr int mixerFrequency = 22050;          // samples per second
constexpr Uint16 mixerFormat = AUDIO_S16LSB;   // sample format
constexpr int mixerChannels = 2;               // stereo
constexpr int mixerChunkSize = 512;            // samples per mixing chunk

// Loads ./data/sound/<name>.wav; the caller owns it. Null on failure.
Mix_Chunk* loadSound(const std::string& name);

// Loads ./data/sound/music/<name>.mp3, else .flac; the caller owns it.
Mix_Music* loadMusic(const std::string& name);

// Plays a chunk once on the first free channel; null plays nothing.
void playChunk(Mix_Chunk* chunk);

// Plays a named effect of the effect table (0 is "pterodactyl").
void playEffect(int number);

// Frees the named-effect table (at shutdown).
void releaseEffects();

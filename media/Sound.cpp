#include "media/Sound.h"
Mix_Chunk* loadSound(const std::string&) { return nullptr; }
Mix_Music* loadMusic(const std::string&) { return nullptr; }
void playChunk(Mix_Chunk*) {}
void playEffect(int) {}
void releaseEffects() {}

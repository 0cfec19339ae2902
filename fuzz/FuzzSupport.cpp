#include "fuzz/FuzzSupport.h"

#include <SDL.h>
#include <SDL_ttf.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace {

std::string scratch;

void removeScratch() {
    if (!scratch.empty()) std::system(("rm -rf '" + scratch + "'").c_str());
}

}  // namespace

void startFuzzWorld() {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    SDL_Init(SDL_INIT_VIDEO);
    TTF_Init();
    SDL_SetVideoMode(320, 240, 32, 0);
    char pattern[] = "/tmp/curdovar-fuzz-XXXXXX";
    const char* root = mkdtemp(pattern);
    if (!root || chdir(root) != 0) std::abort();
    scratch = root;
    std::atexit(removeScratch);
    if (std::system("mkdir -p data/levels data/preferences data/images/16 data/images/32") != 0)
        std::abort();
}

void writeFuzzFile(const std::string& relative, const unsigned char* data, unsigned long size) {
    FILE* file = std::fopen(relative.c_str(), "wb");
    if (!file) std::abort();
    if (size) std::fwrite(data, 1, size, file);
    std::fclose(file);
}

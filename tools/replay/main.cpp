// curdovar-replay: plays a recorded input on a level headless and says
// whether it reached the goal (or survived, for replays that expect that).
//
//   curdovar-replay [--trace] REPLAY
//
// Exit status 0 on success, 1 when the replay fails, 2 on a usage or file error.
#include "media/Sound.h"
#include "media/Text.h"
#include "menus/Settings.h"
#include "shell/Clock.h"
#include "shell/Replay.h"

#include <SDL.h>
#include <SDL_image.h>
#include <SDL_mixer.h>
#include <SDL_ttf.h>

#include <cstdlib>
#include <cstring>
#include <iostream>
#include <sstream>

namespace {

constexpr Uint32 stallLimitMs = 10000;  // a hint box nobody dismisses would wait forever

const char* replayFile = "";

void onStall() {
    std::cout.flush();
    std::cerr << replayFile << ": FAILED: a hint box waits for a key the replay never gives "
                 "(add D to the run that touches the sign)\n";
    std::exit(1);
}

}  // namespace

int main(int argc, char** argv) {
    bool trace = false;
    const char* file = nullptr;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--trace") == 0) {
            trace = true;
        } else if (!file) {
            file = argv[i];
        } else {
            file = nullptr;
            break;
        }
    }
    if (!file) {
        std::cerr << "usage: curdovar-replay [--trace] REPLAY\n";
        return 2;
    }

    Replay replay;
    std::string error;
    if (!loadReplay(file, replay, error)) {
        std::cerr << file << ": " << error << '\n';
        return 2;
    }

    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    if (SDL_Init(SDL_INIT_TIMER | SDL_INIT_AUDIO | SDL_INIT_VIDEO) < 0 || TTF_Init() < 0) {
        std::cerr << "SDL failed to start: " << SDL_GetError() << '\n';
        return 2;
    }
    IMG_Init(IMG_INIT_PNG);
    Mix_OpenAudio(22050, AUDIO_S16LSB, 2, 512);
    SDL_Surface* screen =
        SDL_SetVideoMode(20 * replay.tileSize, 15 * replay.tileSize, 32, 0);
    if (!screen) {
        std::cerr << "no video surface: " << SDL_GetError() << '\n';
        return 2;
    }

    replayFile = file;
    setClockStallGuard(stallLimitMs, onStall);
    // The game's own progress lines would drown the verdict; keep them for --trace.
    std::streambuf* gameOutput = std::cout.rdbuf();
    std::ostringstream swallowed;
    if (!trace) std::cout.rdbuf(swallowed.rdbuf());
    const ReplayOutcome outcome = runReplay(replay, screen, trace ? &std::cout : nullptr);
    std::cout.rdbuf(gameOutput);

    std::cout << file << ": " << (outcome.success ? "ok" : "FAILED") << ": " << outcome.reason
              << " (" << outcome.framesRun << " frames, " << outcome.deaths << " deaths)\n";
    closeFontCache();
    releaseEffects();
    Mix_CloseAudio();
    TTF_Quit();
    SDL_Quit();
    return outcome.success ? 0 : 1;
}

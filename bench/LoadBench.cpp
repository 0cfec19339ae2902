// Loading: Level::load of the largest shipped level (grid, objects and their
// images, background), and a start-up from nothing to the first drawn frame.
#include "bench/BenchSupport.h"

#include "media/Text.h"
#include "shell/Game.h"
#include "shell/Particles.h"

#include <SDL_image.h>
#include <SDL_mixer.h>
#include <SDL_ttf.h>
#include <benchmark/benchmark.h>

namespace {
constexpr int startupRuns = 10;  // each one restarts SDL and its companions

void LoadLevel(benchmark::State& state, std::string path, int number) {
    QuietOutput quiet;
    SDL_Surface* screen = useTileSize(32);
    resetWorld();
    std::unique_ptr<Level> level = openLevel(path, number, screen);
    if (!level) {
        state.SkipWithError("level did not load");
        return;
    }
    for (auto _ : state) {
        if (!level->load(path)) {
            state.SkipWithError("level did not load");
            break;
        }
    }
    state.counters["objects"] = static_cast<double>(level->getThings().size());
}

// Everything the program does before its first frame shows, on the dummy
// drivers: start SDL and its companions, open the window, build the menu
// level, load it, draw one frame.
void Startup(benchmark::State& state) {
    QuietOutput quiet;
    for (auto _ : state) {
        state.PauseTiming();
        closeFontCache();
        clearParticles();
        Mix_CloseAudio();
        TTF_Quit();
        IMG_Quit();
        SDL_Quit();
        state.ResumeTiming();

        SDL_Surface* screen = nullptr;
        if (!initSystems(startCaption, &screen, 640, 480, 32, 0)) {
            state.SkipWithError("start-up failed");
            break;
        }
        resetWorld();
        {
            std::unique_ptr<Level> level = openLevel(menuLevelPath, 0, screen);
            if (!level) {
                state.SkipWithError("menu level did not load");
                break;
            }
            fillScreen(screen, backgroundColour(0));
            level->draw();
            SDL_Flip(screen);
        }
    }
}
}  // namespace

// Called by main before the run.
void registerLoadBenchmarks() {
    const ShippedLevel largest = largestLevel();
    if (!largest.path.empty()) {
        benchmark::RegisterBenchmark(("Load/32/" + largest.name).c_str(), LoadLevel,
                                     largest.path, largest.number)
            ->Unit(benchmark::kMicrosecond);
    }
    benchmark::RegisterBenchmark("Startup/32", Startup)
        ->Unit(benchmark::kMicrosecond)
        ->Iterations(startupRuns);
}

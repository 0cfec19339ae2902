// The present step: the game's picture enlarged into a larger window at
// whole scales, and into a full screen of 1920 by 1080, on top of the frame.
#include "bench/BenchSupport.h"

#include "menus/Settings.h"
#include "shell/Display.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {
constexpr int desktopW = 1920;  // the full-screen row's desktop
constexpr int desktopH = 1080;

// One present of a 640 by 480 picture at the scale, or full screen.
void Present(benchmark::State& state, int scale, bool full) {
    QuietOutput quiet;
    windowScale = scale;
    fullScreen = full;
    setDesktopSize(full ? desktopW : 0, full ? desktopH : 0);
    SDL_Surface* picture = openDisplay(windowColumns * 32, windowRows * 32, 0);
    if (!picture) {
        state.SkipWithError("no window of that size");
    } else {
        SDL_FillRect(picture, nullptr, SDL_MapRGB(picture->format, 40, 90, 200));
        for (auto _ : state) presentPicture(picture);
    }
    closeDisplay();
    windowScale = 1;
    fullScreen = false;
    setDesktopSize(0, 0);
    useTileSize(32);
    SDL_SetVideoMode(windowColumns * 32, windowRows * 32, 32, 0);
}
}  // namespace

void registerPresentBenchmarks() {
    for (int scale : {2, 3, 4}) {
        benchmark::RegisterBenchmark(("Present/32/" + std::to_string(scale) + "x").c_str(),
                                     Present, scale, false)
            ->Unit(benchmark::kMicrosecond);
    }
    benchmark::RegisterBenchmark("Present/32/Full1920x1080", Present, 1, true)
        ->Unit(benchmark::kMicrosecond);
}

// Cost of the status display's text: one fitted render of "Lives: 5" in a
// 640 by 16 box, with the font cache warm and with it emptied before each call.
#include "media/Text.h"

#include <SDL.h>
#include <SDL_ttf.h>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>

namespace {
constexpr int statusWidth = 640;   // pixels: the status line spans the window
constexpr int statusHeight = 16;   // pixels: the status display's line height
const SDL_Color black{0, 0, 0, 0};

// Renders once; false (and the benchmark marked failed) when nothing came back.
bool renderStatus(benchmark::State& state) {
    SDL_Surface* text = renderFittedText("Lives: 5", black, statusWidth, statusHeight);
    benchmark::DoNotOptimize(text);
    if (!text) {
        state.SkipWithError("status text did not render");
        return false;
    }
    SDL_FreeSurface(text);
    return true;
}

void reportOpens(benchmark::State& state, int opensBefore) {
    state.counters["opens/call"] = benchmark::Counter(
        static_cast<double>(fontOpenCount() - opensBefore) / static_cast<double>(state.iterations()));
}

void StatusTextWarmCache(benchmark::State& state) {
    if (!renderStatus(state)) return;
    const int opensBefore = fontOpenCount();
    for (auto _ : state) {
        if (!renderStatus(state)) break;
    }
    reportOpens(state, opensBefore);
}
BENCHMARK(StatusTextWarmCache);

void StatusTextNoCache(benchmark::State& state) {
    const int opensBefore = fontOpenCount();
    for (auto _ : state) {
        closeFontCache();
        if (!renderStatus(state)) break;
    }
    reportOpens(state, opensBefore);
    state.counters["sizes/call"] = static_cast<double>(lastFittedSizes().size());
}
BENCHMARK(StatusTextNoCache);
}  // namespace

int main(int argc, char** argv) {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    if (SDL_Init(SDL_INIT_VIDEO) < 0 || TTF_Init() < 0) return 2;
    if (!SDL_SetVideoMode(640, 480, 32, 0)) return 2;
    if (!cachedFont(16)) {
        std::fprintf(stderr, "Run from the folder holding %s\n", fontPath);
        return 2;
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    closeFontCache();
    TTF_Quit();
    SDL_Quit();
    return 0;
}

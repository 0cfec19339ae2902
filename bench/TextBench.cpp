// Cost of text: one fitted render of the status display's "Lives: 5" in a
// 640 by 16 box, with the font cache warm and with it emptied before each
// call; one whole status display; one frame of the controls menu.
#include "media/Text.h"

#include "bench/BenchSupport.h"
#include "menus/Button.h"
#include "menus/Settings.h"
#include "player/Player.h"
#include "shell/Game.h"

#include <SDL.h>
#include <SDL_ttf.h>
#include <benchmark/benchmark.h>

#include <memory>

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

constexpr int statusBombs = 3;  // icons in the bomb row
constexpr int statusKeys = 2;   // icons in the key row
constexpr int statusLives = 5;

// One drawStatus of a Terrorist with bombs and keys, its lines already rendered.
void StatusDisplay(benchmark::State& state) {
    QuietOutput quiet;
    SDL_Surface* screen = useTileSize(32);
    std::unique_ptr<Level> level;
    level.reset(new Level(1, screen));
    Player& hero = level->getPlayer();
    hero.setStatus(StatusTerrorist);
    hero.setBombs(statusBombs);
    hero.setKeys(statusKeys);
    hero.setLives(statusLives);
    hero.drawStatus(screen);
    const int rendersBefore = hero.getTextRenders();
    for (auto _ : state) hero.drawStatus(screen);
    state.counters["renders/call"] = benchmark::Counter(
        static_cast<double>(hero.getTextRenders() - rendersBefore) /
        static_cast<double>(state.iterations()));
}
BENCHMARK(StatusDisplay)->Name("Text/StatusDisplay/32")->Unit(benchmark::kMicrosecond);

// The layout of the controls menu: six buttons in a column, captions to their right.
constexpr int menuFontPoints = 20;
constexpr int buttonX = 20;
constexpr int buttonW = 100;
constexpr int buttonH = 25;
constexpr int firstButtonY = 1;
constexpr int rowPitch = 40;

// What one frame of the controls menu renders: the fill, six buttons and six
// fitted captions, and the flip.
void ControlsMenuFrame(benchmark::State& state) {
    QuietOutput quiet;
    SDL_Surface* screen = useTileSize(32);
    TTF_Font* font = TTF_OpenFont(fontPath, menuFontPoints);
    const SDL_Color white{255, 255, 255, 0};
    const SDL_Color grey{128, 128, 128, 0};
    const SDL_Color black{0, 0, 0, 0};
    const Uint32 buttonGrey = SDL_MapRGB(SDL_GetVideoInfo()->vfmt, 128, 128, 128);
    std::vector<std::unique_ptr<controlbutton>> buttons;
    for (int i = 0; i < userKeyCount; ++i) {
        buttons.emplace_back(new controlbutton(buttonX, firstButtonY + rowPitch * i, buttonW,
                                               buttonH, buttonGrey, white, font, "Temp"));
        buttons.back()->userKey = i;
        buttons.back()->setText(keyName(userKeys[i]));
    }
    for (auto _ : state) {
        fillScreen(screen, black);
        for (const auto& button : buttons) {
            button->draw(screen);
            const SDL_Rect& rect = button->getRect();
            drawText(rect.x + rect.w, rect.y, userKeyCaptions[button->userKey], screen, &grey,
                     rect.w, rect.h);
        }
        SDL_Flip(screen);
    }
    buttons.clear();
    if (font) TTF_CloseFont(font);
}
BENCHMARK(ControlsMenuFrame)->Name("Text/ControlsMenuFrame/32")->Unit(benchmark::kMicrosecond);
}  // namespace

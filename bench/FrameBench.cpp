// Frame cost: the floor of software rendering (fill, one screen of
// colour-keyed tiles, flip), one frame of every shipped level at both tile
// sizes with the hero still and running, and a long generated level that
// shows how the cost grows with level size and object count.
#include "bench/BenchSupport.h"

#include "media/Images.h"
#include "menus/Settings.h"
#include "player/Player.h"
#include "shell/Game.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {
constexpr int floorColumns = 21;     // one more than fit, as the level draws them
constexpr int floorRows = 16;
constexpr int heroLives = 99;        // enough that the runs never reach a game over
constexpr int heroBombs = 3;         // icons on the status display
constexpr int bombInterval = 40;     // frames between two bombs of the running hero
constexpr int reloadInterval = 900;  // frames before the level is loaded afresh
constexpr int warmUpFrames = 30;     // first frames, untimed: text rendered, camera settled
constexpr int scaleRows = 15;        // the generated level is one screen high
const int tileSizes[] = {32, 16};

void Floor(benchmark::State& state, int size) {
    QuietOutput quiet;
    SDL_Surface* screen = useTileSize(size);
    SDL_Surface* wall = loadTileImage("wall");
    if (!screen || !wall) {
        state.SkipWithError("no screen or no wall image");
        if (wall) SDL_FreeSurface(wall);
        return;
    }
    const SDL_Color black{0, 0, 0, 0};
    for (auto _ : state) {
        fillScreen(screen, black);
        for (int c = 0; c < floorColumns; ++c) {
            for (int r = 0; r < floorRows; ++r) {
                drawSurface(static_cast<Sint16>(c * size), static_cast<Sint16>(r * size), wall,
                            screen, nullptr, 255);
            }
        }
        SDL_Flip(screen);
    }
    SDL_FreeSurface(wall);
}

// The hero as the runs want it: bomb-laying status, a few bombs shown, lives to spare.
void prepareHero(Level& level) {
    Player& hero = level.getPlayer();
    hero.setStatus(StatusTerrorist);
    hero.setBombs(heroBombs);
    hero.setLives(heroLives);
}

// Frames of one level file; a running hero holds Right and lays bombs.
void LevelFrames(benchmark::State& state, std::string path, int number, int size,
                 bool running) {
    QuietOutput quiet;
    SDL_Surface* screen = useTileSize(size);
    resetWorld();
    std::unique_ptr<Level> level = openLevel(path, number, screen);
    if (!screen || !level) {
        state.SkipWithError("level did not load");
        return;
    }
    prepareHero(*level);
    holdAction(KeyRight, running);
    for (int i = 0; i < warmUpFrames; ++i) playFrame(*level, screen);

    int frame = 0;
    long bombsLaid = 0;
    for (auto _ : state) {
        if (running && frame % bombInterval == 0) {
            level->getPlayer().setBombs(heroBombs);
            pressLayBomb(*level);
            ++bombsLaid;
        }
        playFrame(*level, screen);
        if (++frame == reloadInterval) {
            state.PauseTiming();
            level->load(path);
            prepareHero(*level);
            frame = 0;
            state.ResumeTiming();
        }
    }
    holdAction(KeyRight, false);
    state.counters["objects"] = static_cast<double>(level->getThings().size());
    state.counters["bombs"] = static_cast<double>(bombsLaid);
    resetWorld();
}

// A level columns wide and one screen high, walled above and below, with
// objects spread evenly over it: enemies, crabs and milk.
std::string scalingLevel(int columns, int objects) {
    static const int kinds[] = {31, 30, 32, 33, 37, 35};
    std::vector<std::vector<int>> cells(static_cast<size_t>(columns),
                                        std::vector<int>(scaleRows, 0));
    for (auto& column : cells) {
        column.front() = 1;
        column.back() = 1;
    }
    cells[2][scaleRows - 2] = 4;
    for (int i = 0; i < objects; ++i) {
        const int col = 4 + static_cast<int>(static_cast<long>(i) * (columns - 5) / objects);
        const int row = 1 + i % (scaleRows - 3);
        cells[static_cast<size_t>(col)][static_cast<size_t>(row)] =
            kinds[static_cast<size_t>(i) % (sizeof kinds / sizeof kinds[0])];
    }
    std::string text = std::to_string(columns) + " " + std::to_string(scaleRows) + "\n";
    for (const auto& column : cells) {
        for (size_t r = 0; r < column.size(); ++r) {
            if (r > 0) text += ' ';
            text += std::to_string(column[r]);
        }
        text += '\n';
    }
    return text + "Scaling\n";
}

// The folder the generated levels are written to, made once per run.
const std::string& scratchFolder() {
    static std::string folder;
    if (folder.empty()) {
        char pattern[] = "/tmp/curdovar-bench-XXXXXX";
        if (const char* made = mkdtemp(pattern)) folder = made;
    }
    return folder;
}

void ScalingFrames(benchmark::State& state, int columns, int objects) {
    const std::string path = scratchFolder() + "/scale-" + std::to_string(columns) + "-" +
                             std::to_string(objects) + ".lvl";
    {
        std::ofstream out(path);
        out << scalingLevel(columns, objects);
    }
    // A still hero keeps deaths and bombs out of it: the cost is the level's own.
    LevelFrames(state, path, 1, 32, false);
    std::remove(path.c_str());
}

void removeScratchFolder() {
    if (!scratchFolder().empty()) rmdir(scratchFolder().c_str());
}

}  // namespace

// Called by main before the run: one benchmark per shipped level, tile size and hero mode.
void registerFrameBenchmarks() {
    for (int size : tileSizes) {
        benchmark::RegisterBenchmark(("Floor/" + std::to_string(size)).c_str(), Floor, size)
            ->Unit(benchmark::kMicrosecond);
    }
    for (int size : tileSizes) {
        for (const ShippedLevel& level : shippedLevels()) {
            for (bool running : {false, true}) {
                const std::string name = "Frame/" + std::to_string(size) + "/" + level.name +
                                         (running ? "/running" : "/still");
                benchmark::RegisterBenchmark(name.c_str(), LevelFrames, level.path, level.number,
                                             size, running)
                    ->Unit(benchmark::kMicrosecond);
            }
        }
    }
    const int scales[][2] = {{50, 0}, {1000, 0}, {50, 200}, {1000, 200}};
    for (const auto& scale : scales) {
        const std::string name = "Scaling/32/cols:" + std::to_string(scale[0]) +
                                 "/objects:" + std::to_string(scale[1]);
        benchmark::RegisterBenchmark(name.c_str(), ScalingFrames, scale[0], scale[1])
            ->Unit(benchmark::kMicrosecond);
    }
    std::atexit(removeScratchFolder);
}

// curdovar-solve: searches for an input that takes the hero to a level's goal
// and writes it as a replay for curdovar-replay.
//
//   curdovar-solve LEVEL TILESIZE OUT [--prefix REPLAY] [--via COL,ROW]...
//                  [--partial] [--calm] [--bombs] [--explode] [--beam N] [--step FRAMES]
//                  [--per-cell N] [--rounds N] [--jobs N] [--seconds N]
//
// The beam search of Search.h, its states ranked by the walking distance, in
// cells, to the next --via cell and finally to the goal; any death throws a
// state away. A --prefix replay is played first and copied to the front of
// the result; with --partial the search ends at the last --via cell, which
// makes a prefix to finish by hand (a bomb to lay) or with another search.
#include "level/Level.h"
#include "level/Tiles.h"
#include "menus/Settings.h"
#include "shell/Clock.h"
#include "tools/common/Replay.h"
#include "tools/solve/Search.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr int waypointWeight = 1 << 26;  // every waypoint still ahead outweighs any distance

struct Options {
    std::string levelPath;
    std::string outPath;
    std::string prefixPath;
    int size = 32;
    bool bombs = false;
    bool explode = false;
    bool partial = false;  // stop at the last --via cell instead of the goal
    bool calm = false;     // a person's moves only: no change of keys in the air
    std::vector<std::pair<int, int>> via;
    SearchSettings search;
};

bool covers(const SDL_Rect* box, int col, int row) {
    auto cellOf = [](int pixel) { return pixel >= 0 ? pixel / tileSize : -1; };
    const int c0 = cellOf(box->x), c1 = cellOf(box->x + tileSize - 1);
    const int r0 = cellOf(box->y), r1 = cellOf(box->y + tileSize - 1);
    return col >= c0 && col <= c1 && row >= r0 && row <= r1;
}

// Toward each waypoint in turn, then the goal.
class Waypoints : public SearchRules {
public:
    Waypoints(const Level& level, const Options& options) : options(options) {
        // The guide runs through cracked walls: a bomb opens them.
        const SolidCell solid = blocksForGood;
        for (auto cell : options.via) fields.push_back(distanceField(level, {cell}, solid));
        fields.push_back(distanceField(level, cellsHolding(level, TileGoal), solid));
    }

    int afterFrame(Level& level) override {
        const int last = static_cast<int>(fields.size()) - 1;
        while (current < last && covers(level.getPlayer().getRect(), options.via[current].first,
                                        options.via[current].second))
            ++current;
        return options.partial && current == last ? OutcomeReached : OutcomeAlive;
    }
    int score(Level& level) override {
        const int remaining = static_cast<int>(fields.size()) - 1 - current;
        return remaining * waypointWeight + scoreOf(level, fields[current]);
    }
    int phase() const override { return current; }

private:
    const Options& options;
    std::vector<std::vector<int>> fields;  // one per waypoint, the goal last
    int current = 0;
};

bool parseArgs(int argc, char** argv, Options& o) {
    std::vector<std::string> plain;
    o.search.progress = true;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto next = [&]() -> std::string { return i + 1 < argc ? argv[++i] : ""; };
        if (arg == "--prefix") o.prefixPath = next();
        else if (arg == "--beam") o.search.beam = std::atoi(next().c_str());
        else if (arg == "--step") o.search.step = std::atoi(next().c_str());
        else if (arg == "--rounds") o.search.rounds = std::atoi(next().c_str());
        else if (arg == "--per-cell") o.search.perCell = std::max(1, std::atoi(next().c_str()));
        else if (arg == "--jobs") o.search.jobs = std::max(1, std::atoi(next().c_str()));
        else if (arg == "--seconds") o.search.seconds = std::atoi(next().c_str());
        else if (arg == "--bombs") o.bombs = true;
        else if (arg == "--explode") o.explode = true;
        else if (arg == "--partial") o.partial = true;
        else if (arg == "--calm") o.calm = true;
        else if (arg == "--via") {
            int c = 0, r = 0;
            if (std::sscanf(next().c_str(), "%d,%d", &c, &r) != 2) return false;
            o.via.push_back({c, r});
        } else plain.push_back(arg);
    }
    if (plain.size() != 3 || o.search.beam <= 0 || o.search.step <= 0) return false;
    o.levelPath = plain[0];
    o.size = std::atoi(plain[1].c_str());
    o.outPath = plain[2];
    return o.size > 0;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!parseArgs(argc, argv, options)) {
        std::cerr << "usage: curdovar-solve LEVEL TILESIZE OUT [--prefix REPLAY] "
                     "[--via COL,ROW]... [--partial] [--calm] [--bombs] [--explode] [--beam N] "
                     "[--step FRAMES] [--per-cell N] [--rounds N] [--jobs N] [--seconds N]\n";
        return 2;
    }
    Replay prefix;
    if (!options.prefixPath.empty()) {
        std::string error;
        if (!loadReplay(options.prefixPath, prefix, error)) {
            std::cerr << options.prefixPath << ": " << error << '\n';
            return 2;
        }
    }

    SDL_Surface* screen = startSilentHeadless(options.size);
    if (!screen) return 2;
    std::streambuf* gameOutput = std::cout.rdbuf();
    std::ostringstream swallowed;
    std::cout.rdbuf(swallowed.rdbuf());
    tileSize = options.size;
    useManualClock(0);
    Level* level = new Level(levelNumberOf(options.levelPath), screen);
    if (!level->load(options.levelPath)) {
        std::cout.rdbuf(gameOutput);
        std::cerr << "cannot load " << options.levelPath << '\n';
        return 2;
    }

    // The prefix is played right here, before the first copy is made.
    const std::vector<FrameInput> prefixFrames = framesOf(prefix);
    for (const FrameInput& f : prefixFrames) {
        const int lives = level->getPlayer().getLives();
        playFrame(*level, f);
        if (level->getPlayer().getLives() < lives) {
            std::cout.rdbuf(gameOutput);
            std::cerr << "the prefix dies\n";
            return 1;
        }
    }

    const std::vector<SearchAction> actions = options.calm ? calmActions(options.bombs, options.explode)
                                                           : searchActions(options.bombs, options.explode);
    Waypoints rules(*level, options);
    const SearchResult result = runSearch(*level, actions, options.search, rules);
    std::cout.rdbuf(gameOutput);
    if (!result.found) {
        std::cout << options.outPath << ": no way to the goal found (best score "
                  << result.bestScore << ", " << result.ended << ")\n";
        return 1;
    }
    std::vector<FrameInput> frames = prefixFrames;
    const std::vector<FrameInput>& found = result.frames;
    frames.insert(frames.end(), found.begin(), found.end());
    std::ofstream out(options.outPath);
    out << "# Found by curdovar-solve.\nlevel " << options.levelPath << "\ntilesize "
        << options.size << "\nexpect goal\n";
    writeRuns(out, frames);
    out.close();
    std::cout << options.outPath << ": goal after " << result.rounds << " rounds, "
              << found.size() << " frames searched\n";
    return 0;
}

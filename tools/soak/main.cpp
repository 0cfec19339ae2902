// curdovar-soak: plays levels for a long time with random (seeded) input,
// bombs and hint boxes included, rebuilding the level after a game over and
// reloading it now and then, and checks that memory does not grow.
//
//   curdovar-soak [--frames N] [--seed S] [--tilesize T] [--quiet] LEVEL...
//
// Exit status 0 when every level ran its frames without growing, 1 otherwise.
#include "level/Level.h"
#include "menus/MessageBox.h"
#include "menus/Settings.h"
#include "shell/Clock.h"
#include "tools/common/Headless.h"
#include "shell/Particles.h"
#include "tools/common/Replay.h"

#include <SDL.h>

#include <cstdlib>
#include <malloc.h>
#include <cstring>
#include <fstream>
#include <iostream>
#include <memory>
#include <random>
#include <streambuf>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

constexpr int warmUpFrames = 2000;     // caches and pools settle before the first reading
constexpr int reloadEvery = 5000;      // frames between reloads of the level file
constexpr long allowedGrowthKb = 4096; // allocator noise, not a leak
constexpr int mmapThresholdBytes = 128 * 1024;  // blocks this big come straight from the system

// Output that goes nowhere and keeps nothing: a buffer that grew with the
// game's narration would show in the very memory this tool measures.
class Discard : public std::streambuf {
protected:
    int overflow(int c) override { return traits_type::not_eof(c); }
    std::streamsize xsputn(const char*, std::streamsize count) override { return count; }
};

long residentKb() {
    std::ifstream statm("/proc/self/statm");
    long pages = 0, resident = 0;
    statm >> pages >> resident;
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

struct Soaked {
    long rssStart = 0;
    long rssEnd = 0;
    std::size_t thingsStart = 0;
    std::size_t thingsEnd = 0;
    int gameOvers = 0;
    int bombsLaid = 0;
};

Soaked soak(const std::string& path, int frames, unsigned seed, SDL_Surface* screen) {
    std::mt19937 random(seed);
    auto chance = [&](int percent) { return static_cast<int>(random() % 100) < percent; };
    const int number = levelNumberOf(path);
    auto fresh = [&]() {
        auto level = std::make_unique<Level>(number, screen);
        level->load(path);
        return level;
    };
    std::unique_ptr<Level> level = fresh();
    Soaked result;
    int direction = 0;  // -1 left, 0 none, +1 right; held for a while
    for (int frame = 1; frame <= frames; ++frame) {
        if (chance(5)) direction = static_cast<int>(random() % 3) - 1;
        holdKey(getUserKey(KeyLeft), direction < 0);
        holdKey(getUserKey(KeyRight), direction > 0);
        holdKey(getUserKey(KeyExplodeAll), chance(2));
        Player& player = level->getPlayer();
        if (frame % 300 == 0) {
            // Bombs come from pickups in play; here the hero is simply handed some.
            player.setStatus(StatusTerrorist);
            player.setBombs(player.getBombs() + 3);
        }
        if (chance(8)) pressKey(getUserKey(KeyJump));
        if (chance(2)) {
            pressKey(getUserKey(KeyLayBomb));
            ++result.bombsLaid;
        }
        const bool asked = chance(1);
        if (asked) pressKey(getUserKey(KeyQueryHint));
        // A hint request stays pending until the hero reaches a sign, so a
        // box may open in any step.
        Level* current = level.get();
        playClosingHints(current, screen);

        if (level->isGameOver()) {
            // As the main loop does: everything goes, a new level comes.
            ++result.gameOvers;
            level.reset();
            releaseMessageOverlay();
            clearParticles();
            level = fresh();
        } else if (frame % reloadEvery == 0) {
            level->load("");
        }
        if (frame == warmUpFrames) {
            result.rssStart = residentKb();
            result.thingsStart = level->getThings().size();
        }
    }
    result.rssEnd = residentKb();
    result.thingsEnd = level->getThings().size();
    holdKey(getUserKey(KeyLeft), false);
    holdKey(getUserKey(KeyRight), false);
    holdKey(getUserKey(KeyExplodeAll), false);
    level.reset();
    clearParticles();
    releaseMessageOverlay();
    return result;
}

}  // namespace

int main(int argc, char** argv) {
    // glibc raises its mmap threshold after a big block is freed, so a level's
    // large pictures, loaded again at each game over, would come from the heap
    // and leave it fragmented: growth that is no leak. A fixed threshold gives
    // every picture back to the system when it is freed.
    mallopt(M_MMAP_THRESHOLD, mmapThresholdBytes);
    int frames = 20000;
    unsigned seed = 1;
    int size = 32;
    bool quiet = false;
    std::vector<std::string> levels;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--frames" && i + 1 < argc) {
            frames = std::atoi(argv[++i]);
        } else if (arg == "--seed" && i + 1 < argc) {
            seed = static_cast<unsigned>(std::strtoul(argv[++i], nullptr, 10));
        } else if (arg == "--tilesize" && i + 1 < argc) {
            size = std::atoi(argv[++i]);
        } else if (arg == "--quiet") {
            quiet = true;
        } else {
            levels.push_back(arg);
        }
    }
    if (levels.empty() || frames <= warmUpFrames || size <= 0) {
        std::cerr << "usage: curdovar-soak [--frames N>" << warmUpFrames
                  << "] [--seed S] [--tilesize T] [--quiet] LEVEL...\n";
        return 2;
    }

    tileSize = size;
    SDL_Surface* screen = startHeadless(size);
    if (!screen) return 2;
    useManualClock(0);

    // The game narrates every load, death and blast; keep the verdicts readable.
    std::streambuf* gameOutput = std::cout.rdbuf();
    Discard swallowed;
    int failures = 0;
    for (const std::string& path : levels) {
        if (quiet) std::cout.rdbuf(&swallowed);
        const Soaked s = soak(path, frames, seed, screen);
        std::cout.rdbuf(gameOutput);
        const long growth = s.rssEnd - s.rssStart;
        const bool ok = growth <= allowedGrowthKb;
        if (!ok) ++failures;
        std::cout << path << ": " << (ok ? "ok" : "GREW") << ": " << frames << " frames, memory "
                  << s.rssStart << " KB after warm-up, " << s.rssEnd << " KB at the end ("
                  << (growth >= 0 ? "+" : "") << growth << " KB), objects " << s.thingsStart
                  << " -> " << s.thingsEnd << ", " << s.bombsLaid << " bomb presses, "
                  << s.gameOvers << " game overs\n";
    }
    stopHeadless();
    return failures == 0 ? 0 : 1;
}

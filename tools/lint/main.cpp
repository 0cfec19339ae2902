// curdovar-lint: checks level files and level packs before they ship.
//
//   curdovar-lint [--data FOLDER] [--blind-jumps] FILE-OR-PACK...
//
// Prints one line per problem, "FILE:column:row: error: ..." or a warning;
// exit status 0 when every file is clean, 1 otherwise, 2 without files.
// A folder is a level pack: its level01.lvl, level02.lvl, ... without a gap
// and its own menu.lvl if it has one, each checked as a file. The levels are
// loaded with the images of FOLDER/data (by default data/ in the working
// directory), as the game would draw them. With --blind-jumps, where a
// level's solving run is kept (NAME-32.replay beside it, or tests/replays/
// for the shipped levels), it is played to find jumps that land out of sight.
#include "tools/common/Headless.h"
#include "tools/common/LevelCheck.h"
#include "tools/common/LevelPack.h"

#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <iostream>
#include <string>
#include <vector>

namespace {

// One thing to check: the path to open and the name to report it by.
struct Target {
    std::string path;
    std::string shown;
};

bool isFolder(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// Paths stay valid after moving into the data folder.
std::string fromHere(const std::string& path, const std::string& here) {
    return path.empty() || path[0] == '/' ? path : here + "/" + path;
}

int usage() {
    std::cerr << "usage: curdovar-lint [--data FOLDER] [--blind-jumps] FILE-OR-PACK...\n";
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    std::string dataFolder;
    bool blindJumps = false;
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--data" && i + 1 < argc) {
            dataFolder = argv[++i];
        } else if (arg == "--blind-jumps") {
            blindJumps = true;
        } else if (!arg.empty() && arg[0] == '-') {
            return usage();
        } else {
            args.push_back(arg);
        }
    }
    if (args.empty()) return usage();

    char buffer[PATH_MAX];
    const std::string here = getcwd(buffer, sizeof buffer) ? buffer : ".";
    std::size_t counted = 0;
    std::vector<Target> targets;
    for (const std::string& arg : args) {
        if (!isFolder(arg)) {
            targets.push_back({fromHere(arg, here), arg});
            continue;
        }
        const LevelPack pack = readLevelPackFolder(arg);
        for (const LevelProblem& problem : pack.problems)
            std::cout << formatProblem(arg, problem) << '\n';
        counted += pack.problems.size();
        const std::string folder = arg.back() == '/' ? arg : arg + "/";
        if (pack.ownMenu) targets.push_back({fromHere(folder + "menu.lvl", here), folder + "menu.lvl"});
        for (const std::string& name : pack.levels)
            targets.push_back({fromHere(folder + name, here), folder + name});
    }
    if (!dataFolder.empty() && chdir(dataFolder.c_str()) != 0) {
        std::cerr << "curdovar-lint: cannot enter " << dataFolder << '\n';
        return 2;
    }

    // The checker loads each level the way the game does, images included.
    SDL_Surface* screen = startHeadless(32);
    if (!screen) return 2;
    for (const Target& target : targets) {
        LevelCheck check = checkLevelFile(target.path);
        // The solving run, where one is kept, shows the jumps a player must make.
        const std::string replay = blindJumps ? solvingReplayFor(target.path, here) : "";
        if (!replay.empty()) checkBlindJumps(check, replay, screen);
        for (const LevelProblem& problem : check.problems)
            std::cout << formatProblem(target.shown, problem) << '\n';
        counted += check.problems.size();
    }
    stopHeadless();
    if (counted == 0) std::cout << targets.size() << " level file(s) clean\n";
    return counted == 0 ? 0 : 1;
}

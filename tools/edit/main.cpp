// curdovar-edit: draws a level with the game's images, checks it while it
// is drawn, plays it and saves the run that proves it.
//
//   curdovar-edit [--tilesize 32|16] [--new WIDTHxHEIGHT] [--replays FOLDER] [FILE]
//
// FILE is opened when it exists and made (a new grid, 40 by 20 unless --new
// says otherwise) when it does not; without FILE the level is
// data/levels/untitled.lvl. Replays go to tests/replays unless --replays
// names another folder. Runs from the repository root, like the game; its
// scratch files go to TMPDIR (or /tmp) and are removed when it quits.
#include "level/LevelDraft.h"
#include "menus/Settings.h"
#include "tools/common/Headless.h"
#include "tools/edit/Editor.h"
#include "tools/edit/Layout.h"

#include <SDL_image.h>
#include <SDL_mixer.h>
#include <SDL_ttf.h>

#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>
#include <unistd.h>

namespace {

constexpr int newWidth = 40;  // a new level's grid, cells
constexpr int newHeight = 20;

// The level tools sit beside the editor, in the build folder as installed.
std::string toolBeside(const std::string& name) {
    char self[4096] = {};
    const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
    std::string path = n > 0 ? std::string(self, static_cast<size_t>(n)) : std::string();
    const size_t slash = path.find_last_of('/');
    return (slash == std::string::npos ? std::string(".") : path.substr(0, slash)) +
           "/" + name;
}

// A path inside the working directory, as the repository's files name each
// other (a replay's level line must hold on any checkout).
std::string relativeToHere(const std::string& path) {
    char here[4096] = {};
    if (path.empty() || path[0] != '/' || !getcwd(here, sizeof here - 1)) return path;
    const std::string prefix = std::string(here) + "/";
    return path.compare(0, prefix.size(), prefix) == 0 ? path.substr(prefix.size()) : path;
}

int usage() {
    std::cerr << "usage: curdovar-edit [--tilesize 32|16] [--new WIDTHxHEIGHT] "
                 "[--replays FOLDER] [FILE]\n";
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    EditorOptions options;
    options.levelPath = "data/levels/untitled.lvl";
    options.solverPath = toolBeside("curdovar-solve");
    options.difficultyPath = toolBeside("curdovar-difficulty");
    int edge = 32;
    int width = newWidth;
    int height = newHeight;
    bool fresh = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--tilesize" && hasValue) {
            edge = std::atoi(argv[++i]);
            if (edge != 32 && edge != 16) return usage();
        } else if (arg == "--new" && hasValue) {
            if (std::sscanf(argv[++i], "%dx%d", &width, &height) != 2 || width < 1 ||
                height < 1 || static_cast<long long>(width) * height > 1000000)
                return usage();
            fresh = true;
        } else if (arg == "--replays" && hasValue) {
            options.replayFolder = argv[++i];
        } else if (!arg.empty() && arg[0] == '-') {
            return usage();
        } else {
            options.levelPath = relativeToHere(arg);
        }
    }

    options.newWidth = width;
    options.newHeight = height;
    LevelDraft level(width, height);
    std::string refusal;
    // A file the game cannot load is shown with the loader's word, not given up on.
    if (!fresh && access(options.levelPath.c_str(), F_OK) == 0 &&
        !level.readFile(options.levelPath, refusal) && refusal.empty())
        refusal = "the file cannot be read";

    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_AUDIO | SDL_INIT_TIMER) < 0 || TTF_Init() < 0) {
        std::cerr << "SDL failed to start: " << SDL_GetError() << '\n';
        return 1;
    }
    IMG_Init(IMG_INIT_PNG);
    // Without a sound card the play-test is silent, nothing more.
    if (Mix_OpenAudio(22050, AUDIO_S16LSB, 2, 512) < 0)
        std::cerr << "no sound: " << Mix_GetError() << '\n';
    readPreferences();
    tileSize = edge;
    SDL_WM_SetCaption(("curdovar-edit: " + options.levelPath).c_str(), nullptr);
    SDL_Surface* screen = SDL_SetVideoMode(editorWidth, editorHeight, 32, 0);
    if (!screen) {
        std::cerr << "no window: " << SDL_GetError() << '\n';
        SDL_Quit();
        return 1;
    }
    {
        Editor editor(screen, options, level);
        if (!refusal.empty()) editor.refuse(refusal);
        std::cout << "editing " << options.levelPath << std::endl;
        editor.run();
    }
    // The same systems the headless tools open, closed the same way.
    stopHeadless();
    return 0;
}

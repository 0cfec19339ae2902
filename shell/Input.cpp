#include "shell/Input.h"

#include "shell/Display.h"

bool pollInput(SDL_Event* event) {
    while (SDL_PollEvent(event)) {
        if (filterDisplayEvent(*event)) return true;
    }
    return false;
}

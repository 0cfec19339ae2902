#include "shell/FrameYield.h"

#include <emscripten.h>

// Under ASYNCIFY a 0 ms sleep unwinds to the browser's event loop and comes
// back on its next turn: the canvas shows the frame and keys arrive.
void yieldToHost() {
    emscripten_sleep(0);
}

#include "shell/FrameYield.h"

// The native game keeps its thread between frames; nothing waits on it.
void yieldToHost() {}

#pragma once

// Settling states: one examined state at a time, the walks that lead to
// them, and the copies of the process they run in.

#include "tools/softlock/Softlock.h"

#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>

namespace softlock {

// Settles one state: is there a way out of it? A Verdict.
int examine(const std::vector<FrameInput>& log);

struct Job {
    int start = 0;         // frames of the solving run played first
    const std::vector<FrameInput>* prefix = nullptr;  // else these, whole
    unsigned seed = 0;
    int segments = 0;      // a state is examined after each
    int segmentFrames = 0;
};

// One walk in a copy of the level process: plays, examines, tells.
[[noreturn]] void runJob(const Job& job);

// Runs fn in a copy of this process and takes in what it tells until it is done.
template <typename Fn>
void inCopy(Fn fn, std::vector<Message>& heard) {
    int channel[2];
    if (pipe(channel) != 0) return;
    std::fflush(nullptr);
    const pid_t child = fork();
    if (child == 0) {
        close(channel[0]);
        toCoordinator = channel[1];
        fn();
        _exit(0);
    }
    close(channel[1]);
    Message m;
    while (read(channel[0], &m, sizeof m) == static_cast<ssize_t>(sizeof m)) {
        if (m.kind == 3) break;
        heard.push_back(m);
    }
    close(channel[0]);
    if (child > 0) waitpid(child, nullptr, 0);
}

}  // namespace softlock

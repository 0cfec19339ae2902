#pragma once

#include <SDL.h>

#include <string>
#include <sys/types.h>
#include <utility>
#include <vector>

// A level tool running beside the editor (curdovar-solve, or
// curdovar-difficulty for the death map): started on a saved level, asked
// each frame whether it is done, its last line of progress shown meanwhile.
class SolverJob {
public:
    SolverJob() = default;
    ~SolverJob();
    SolverJob(const SolverJob&) = delete;
    SolverJob& operator=(const SolverJob&) = delete;

    // Starts the solver on the level at the tile size, through the via cells
    // in their order; it writes its replay to outPath and its progress to logPath.
    bool start(const std::string& solverPath, const std::string& levelPath, int tileEdge,
               const std::string& outPath, const std::string& logPath,
               const std::vector<std::pair<int, int>>& via = {});
    // Starts any command the same way: args[0] is the program; label names
    // it in the progress line.
    bool startCommand(std::vector<std::string> args, const std::string& outPath,
                      const std::string& logPath, const std::string& label);
    bool isRunning() const { return pid > 0; }
    // True once, in the call that sees the solver end.
    bool poll();
    bool succeeded() const { return exitedWell; }
    // The last line the solver printed, with the seconds it has run.
    std::string progress() const;
    const std::string& getOutPath() const { return outPath; }
    // Ends a running search with all its workers.
    void stop();

private:
    pid_t pid = -1;
    bool exitedWell = false;
    Uint32 startedAt = 0;
    std::string outPath;
    std::string logPath;
    std::string label;
};

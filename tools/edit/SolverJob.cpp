#include "tools/edit/SolverJob.h"

#include <csignal>
#include <fcntl.h>
#include <fstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>

SolverJob::~SolverJob() { stop(); }

bool SolverJob::start(const std::string& solverPath, const std::string& levelPath, int tileEdge,
                      const std::string& out, const std::string& log,
                      const std::vector<std::pair<int, int>>& via) {
    std::vector<std::string> args = {solverPath, levelPath, std::to_string(tileEdge), out};
    for (const auto& cell : via) {
        args.push_back("--via");
        args.push_back(std::to_string(cell.first) + "," + std::to_string(cell.second));
    }
    return startCommand(std::move(args), out, log, "solver");
}

bool SolverJob::startCommand(std::vector<std::string> args, const std::string& out,
                             const std::string& log, const std::string& name) {
    stop();
    outPath = out;
    logPath = log;
    label = name;
    exitedWell = false;
    // The arguments are made before the fork: the child only calls exec.
    const std::string program = args[0];
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(&arg[0]);
    argv.push_back(nullptr);
    const pid_t child = fork();
    if (child < 0) return false;
    if (child == 0) {
        // A group of its own, so stopping it stops the search's workers too.
        setpgid(0, 0);
        const int logFile = open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (logFile >= 0) {
            dup2(logFile, STDOUT_FILENO);
            dup2(logFile, STDERR_FILENO);
        }
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    setpgid(child, child);
    pid = child;
    startedAt = SDL_GetTicks();
    return true;
}

bool SolverJob::poll() {
    if (pid <= 0) return false;
    int status = 0;
    if (waitpid(pid, &status, WNOHANG) != pid) return false;
    pid = -1;
    exitedWell = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return true;
}

std::string SolverJob::progress() const {
    std::ifstream in(logPath);
    std::string line;
    std::string last;
    while (std::getline(in, line)) {
        if (!line.empty()) last = line;
    }
    // The game's loader complains about sound without a line end; the
    // search's own report starts at its last "round".
    const size_t round = last.rfind("round ");
    if (round != std::string::npos) last.erase(0, round);
    if (pid <= 0) return last;
    const Uint32 seconds = (SDL_GetTicks() - startedAt) / 1000;
    return label + ", " + std::to_string(seconds) + " s: " + (last.empty() ? "starting" : last);
}

void SolverJob::stop() {
    if (pid <= 0) return;
    kill(-pid, SIGTERM);
    int status = 0;
    waitpid(pid, &status, 0);
    pid = -1;
}

// The benchmark program: starts the game's systems on the dummy drivers,
// runs every benchmark and ends with a table of each figure as a ratio to
// the floor (fill, one screen of tiles, flip) measured in the same run.
#include "bench/BenchSupport.h"

#include "media/Text.h"
#include "shell/Game.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iomanip>
#include <iostream>
#include <map>
#include <string>
#include <vector>

void registerFrameBenchmarks();
void registerLoadBenchmarks();
void registerPresentBenchmarks();

namespace {
// Unless asked otherwise: medians of five runs of a tenth of a second each,
// which holds up on a machine shared with other work.
const char* const defaultFlags[] = {
    "--benchmark_repetitions=5",
    "--benchmark_min_time=0.1",
    "--benchmark_report_aggregates_only=true",
};

constexpr double heaviestLimit = 1.5;   // floors: the heaviest shipped level's frame at 32
constexpr double statusLimit = 0.05;    // floors: one status display
constexpr double loadLimit = 5.0;       // floors: loading the largest shipped level
constexpr double presentedLimit = 1.5;  // floors: the heaviest frame and its present at 3x

struct Figure {
    double real = 0;       // seconds per iteration, wall clock
    double cpu = 0;        // seconds per iteration, this thread's processor time
    bool median = false;   // from the median of repetitions
};

// The console table as usual, and every figure kept for the ratio table.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.error_occurred) continue;
            const bool isMedian = run.run_type == Run::RT_Aggregate;
            if (isMedian && run.aggregate_name != "median") continue;
            const std::string name = run.run_name.function_name;
            auto found = figures.find(name);
            if (found == figures.end()) {
                order.push_back(name);
                found = figures.emplace(name, Figure()).first;
            } else if (found->second.median && !isMedian) {
                continue;
            }
            const double perSecond = benchmark::GetTimeUnitMultiplier(run.time_unit);
            found->second.real = run.GetAdjustedRealTime() / perSecond;
            found->second.cpu = run.GetAdjustedCPUTime() / perSecond;
            found->second.median = isMedian;
        }
    }

    void printTable(std::ostream& out) const {
        out << "\nEach figure against the floor of its tile size (processor time; 32 where "
               "no size is named)\n";
        out << std::left << std::setw(44) << "benchmark" << std::right << std::setw(12)
            << "real us" << std::setw(12) << "cpu us" << std::setw(10) << "floors" << "\n";
        std::vector<std::string> rows;
        for (const std::string& name : order) {
            if (name.compare(0, 6, "Floor/") == 0) rows.push_back(name);
        }
        for (const std::string& name : order) {
            if (name.compare(0, 6, "Floor/") != 0) rows.push_back(name);
        }
        for (const std::string& name : rows) {
            const Figure& figure = figures.at(name);
            out << std::left << std::setw(44) << name << std::right << std::fixed
                << std::setprecision(1) << std::setw(12) << figure.real * 1e6 << std::setw(12)
                << figure.cpu * 1e6 << std::setprecision(3) << std::setw(10);
            // Without its floor in this run (filtered out) a ratio would mean nothing.
            if (ratio(name) > 0) {
                out << ratio(name) << "\n";
            } else {
                out << "-" << "\n";
            }
        }
        printTargets(out);
    }

private:
    // The tile size in the name ("Frame/16/..."), 32 when there is none.
    static std::string sizeOf(const std::string& name) {
        const size_t slash = name.find('/');
        if (slash == std::string::npos) return "32";
        const size_t next = name.find('/', slash + 1);
        const std::string part = name.substr(slash + 1, next == std::string::npos
                                                            ? std::string::npos
                                                            : next - slash - 1);
        return part == "16" ? "16" : "32";
    }

    double ratio(const std::string& name) const {
        const auto floor = figures.find("Floor/" + sizeOf(name));
        if (floor == figures.end() || floor->second.cpu <= 0) return 0;
        return figures.at(name).cpu / floor->second.cpu;
    }

    void printTarget(std::ostream& out, const std::string& what, const std::string& name,
                     double limit, bool strict) const {
        if (name.empty() || figures.find(name) == figures.end()) {
            out << what << ": not measured\n";
            return;
        }
        const double r = ratio(name);
        if (r <= 0) {
            out << what << " (" << name << "): no floor measured in this run\n";
            return;
        }
        const bool met = strict ? r < limit : r <= limit;
        out << what << " (" << name << "): " << std::setprecision(3) << r << " floors, target "
            << (strict ? "< " : "<= ") << limit << ": " << (met ? "met" : "MISSED") << "\n";
    }

    // Two figures that run one after the other in a frame, against one limit.
    void printSum(std::ostream& out, const std::string& what, const std::string& first,
                  const std::string& second, double limit) const {
        if (first.empty() || figures.find(first) == figures.end() ||
            figures.find(second) == figures.end() || ratio(first) <= 0) {
            out << what << ": not measured\n";
            return;
        }
        const double r = ratio(first) + ratio(second);
        out << what << " (" << first << " + " << second << "): " << std::setprecision(3) << r
            << " floors, target <= " << limit << ": " << (r <= limit ? "met" : "MISSED") << "\n";
    }

    void printTargets(std::ostream& out) const {
        std::string heaviest;
        for (const std::string& name : order) {
            if (name.compare(0, 9, "Frame/32/") != 0) continue;
            if (heaviest.empty() || ratio(name) > ratio(heaviest)) heaviest = name;
        }
        std::string load;
        for (const std::string& name : order) {
            if (name.compare(0, 8, "Load/32/") == 0) load = name;
        }
        out << "\n";
        printTarget(out, "Heaviest shipped level frame", heaviest, heaviestLimit, false);
        printTarget(out, "Status display", "Text/StatusDisplay/32", statusLimit, true);
        printTarget(out, "Loading the largest shipped level", load, loadLimit, true);
        printSum(out, "Heaviest frame presented at 3x", heaviest, "Present/32/3x", presentedLimit);
    }

    std::map<std::string, Figure> figures;
    std::vector<std::string> order;
};

bool hasFlag(int argc, char** argv, const char* flag) {
    const char* end = std::strchr(flag, '=');
    const size_t length = end ? static_cast<size_t>(end - flag) : std::strlen(flag);
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], flag, length) == 0) return true;
    }
    return false;
}
}  // namespace

int main(int argc, char** argv) {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    SDL_Surface* screen = nullptr;
    {
        QuietOutput quiet;
        if (!initSystems(startCaption, &screen, 640, 480, 32, 0)) return 2;
    }
    if (!cachedFont(16)) {
        std::fprintf(stderr, "Run from the folder holding %s\n", fontPath);
        return 2;
    }

    std::vector<char*> args(argv, argv + argc);
    for (const char* flag : defaultFlags) {
        if (!hasFlag(argc, argv, flag)) args.insert(args.begin() + 1, const_cast<char*>(flag));
    }
    int count = static_cast<int>(args.size());
    registerFrameBenchmarks();
    registerLoadBenchmarks();
    registerPresentBenchmarks();
    benchmark::Initialize(&count, args.data());
    if (benchmark::ReportUnrecognizedArguments(count, args.data())) return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.printTable(std::cout);
    benchmark::Shutdown();
    closeFontCache();
    return 0;
}

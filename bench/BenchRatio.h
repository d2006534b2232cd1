// What the comparing benchmarks share: their figures kept by a console reporter, and a run with the
// repetitions interleaved, after which each program prints its own ratio lines.
#pragma once

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace bench {

// One benchmark's figures, in its own time unit: the median of its repetitions (or its one run when
// it has no repetitions) and the best wall time of them all.
struct Figures {
    double wall = 0, cpu = 0, bestWall = 0;
    std::map<std::string, double> counters;
};

// Keeps the figures of each benchmark under its name and arguments ("BM_Draw", "BM_Draw/1").
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& r : runs) {
            Figures& f =
                figures[r.run_name.function_name + (r.run_name.args.empty() ? "" : "/" + r.run_name.args)];
            const bool iteration = r.run_type == Run::RT_Iteration;
            if (iteration)
                f.bestWall =
                    f.bestWall > 0 ? std::min(f.bestWall, r.GetAdjustedRealTime()) : r.GetAdjustedRealTime();
            // The median aggregate comes after the repetitions it sums up, so it has the last word.
            if (iteration || r.aggregate_name == "median") {
                f.wall = r.GetAdjustedRealTime();
                f.cpu = r.GetAdjustedCPUTime();
                for (const auto& [name, counter] : r.counters)
                    f.counters[name] = counter.value;
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, Figures> figures;
};

// Runs the benchmarks the command line selects, their repetitions interleaved at random so that a busy
// moment of a shared machine does not fall on one side only, and returns their figures.
inline std::map<std::string, Figures> run(int argc, char** argv) {
    std::vector<char*> args(argv, argv + argc);
    char interleave[] = "--benchmark_enable_random_interleaving=true";
    args.insert(args.begin() + 1, interleave);
    int count = int(args.size());
    benchmark::Initialize(&count, args.data());
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return std::move(reporter.figures);
}

enum class Time { Cpu, Wall };

// Prints our figure beside its baseline's, in the benchmarks' unit (microseconds), and their ratio
// against the goal; nothing when either side did not run.
inline void printRatio(const std::map<std::string, Figures>& figures, const char* what,
                       const std::string& ours, const std::string& base, double goal, Time time = Time::Cpu) {
    const auto a = figures.find(ours), b = figures.find(base);
    if (a == figures.end() || b == figures.end())
        return;
    const double mine = time == Time::Wall ? a->second.wall : a->second.cpu;
    const double bare = time == Time::Wall ? b->second.wall : b->second.cpu;
    if (mine > 0 && bare > 0)
        std::printf("%s: %.2f us beside %.2f us, ratio %.2f (goal <= %.1f)\n", what, mine, bare, mine / bare,
                    goal);
}

} // namespace bench

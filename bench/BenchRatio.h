// What the comparing benchmarks share: their figures kept by a console reporter, and a run with the
// repetitions interleaved, after which each program prints its own ratio lines.
#pragma once

#include <benchmark/benchmark.h>

#include <algorithm>
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

} // namespace bench
